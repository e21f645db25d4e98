#pragma once

#include <windows.h>

// Thin wrappers for common controls of a dialog. A wrapper is attached to its
// control by the dialog's data exchange and sends it messages.
class ControlWrapper {
public:
    bool attached() const { return window != nullptr; }
    void attach(HWND control) { window = control; }
    HWND handle() const { return window; }

protected:
    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) const {
        return SendMessageW(window, message, wParam, lParam);
    }

private:
    HWND window = nullptr;
};

class SpinButton : public ControlWrapper {
public:
    void setRange(short lower, short upper) const;
};

class ProgressBar : public ControlWrapper {
public:
    void setRange(short lowest, short highest) const;
    void setPos(int position) const;
};
