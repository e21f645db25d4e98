#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A dialog template, classic or extended, as stored in the executable's
// resources. A classic template has no font weight and 16-bit item ids.
struct TemplateItem {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    DWORD id;
    std::wstring className;  // predefined classes by name: "Button", "Edit", ...
    std::wstring text;       // an ordinal, such as an icon's resource id, reads "#n"
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring title;
    WORD pointSize = 0;
    WORD weight = 0;
    std::wstring typeface;
    std::vector<TemplateItem> items;
};

// Reads dialog template id of this executable; false if it is missing.
bool readDialogTemplate(int id, DialogTemplate& result);
