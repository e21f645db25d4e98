#pragma once

#include "panel_driver.h"

#include <string>
#include <vector>

// Records every range and position the panel gives its progress bar, by
// subclassing the control on the UI thread: "range 0-15", "pos 3", ...
class ProgressRecorder {
public:
    explicit ProgressRecorder(PanelDriver& driver);
    ~ProgressRecorder();
    // The recorded steps so far, joined with ", ".
    std::string steps() const;

private:
    static LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    PanelDriver& driver;
    HWND bar;
    WNDPROC original = nullptr;
    std::vector<std::string> recorded;
};
