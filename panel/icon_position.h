#pragma once

// Where the minimised panel draws its icon. No window is involved, so the
// arithmetic can be checked on any platform.

struct IconPosition {
    int x;
    int y;
};

// The top-left corner that centres an icon in a client area. Each
// coordinate is (client - icon + 1) / 2 in signed arithmetic rounding toward
// zero, so an icon larger than the area starts at or above its corner.
IconPosition centredIconPosition(int clientWidth, int clientHeight, int iconWidth, int iconHeight);
