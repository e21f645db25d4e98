#include "dialog_placement.h"

#include <algorithm>
#include <cstring>

namespace {

short readShort(const unsigned char* at) {
    short value;
    std::memcpy(&value, at, sizeof(value));
    return value;
}

}  // namespace

bool templateAtOrigin(const void* dialogTemplate) {
    const auto* bytes = static_cast<const unsigned char*>(dialogTemplate);
    // An extended template starts with version 1 and signature 0xFFFF.
    const bool extended = readShort(bytes) == 1 && readShort(bytes + 2) == -1;
    const unsigned char* position = bytes + (extended ? 18 : 10);
    return readShort(position) == 0 && readShort(position + 2) == 0;
}

void centreDialog(HWND dialog, HWND owner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT area = monitor.rcWork;

    RECT centreOn = area;
    if (owner) {
        GetWindowRect(owner, &centreOn);
    }
    RECT own;
    GetWindowRect(dialog, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG x = (centreOn.left + centreOn.right) / 2 - width / 2;
    LONG y = (centreOn.top + centreOn.bottom) / 2 - height / 2;
    x = std::max(area.left, std::min(x, area.right - width));
    y = std::max(area.top, std::min(y, area.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
