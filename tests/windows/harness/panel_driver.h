#pragma once

#include "main_panel.h"
#include "message_box_catcher.h"
#include "ui_thread.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct ProgressState {
    int lowest;
    int highest;
    int position;
};

// Runs the real main panel of the application in this process, modally on
// its own UI thread as the program does, and drives it from the test thread
// the way the window system would. Input is sent or posted to the controls;
// every call returns once the panel has handled it (message boxes included:
// they are answered from the queue of answers).
class PanelDriver {
public:
    PanelDriver() = default;
    // Closes a panel that is still open.
    ~PanelDriver();

    // The panel is set up and its modal loop is waiting for input.
    bool start();
    bool running() const { return !ui.ended(); }
    HWND panel() const { return panelWindow; }
    HWND control(int id) const { return GetDlgItem(panelWindow, id); }

    std::wstring text(int id) const;
    void setText(int id, const std::wstring& text);
    // A mouse click on a button: the focus moves to it, then it is clicked.
    // Returns once its handler has run to its end.
    void click(int id);
    // The command of a menu item or accelerator, not from a control.
    void command(int id);
    // A system command posted to the panel; returns once the UI thread has
    // handled it, also while it runs a dialog that the command opened.
    void sysCommand(WPARAM command);
    // The visible dialog owned by the panel, such as the About box, or nullptr.
    HWND dialogOverPanel();
    // Moves the focus to a control as the dialog does for Tab.
    void focus(int id);
    HWND focusedWindow();
    int focusedId();
    std::pair<int, int> selection(int id) const;
    // A key message posted to the focused window, so that it goes through
    // the application's loop and key filter.
    void postKey(UINT message, WPARAM key, LPARAM flags = 0);
    // Presses and releases an arrow of the up-down control with the mouse.
    void clickSpinArrow(bool up);
    ProgressState progress() const;

    // Runs work with the panel object on the UI thread.
    bool onPanel(const std::function<void(MainPanel&)>& work);
    // UpdateData on the UI thread; its result.
    bool updateData(bool saveAndValidate);

    void answerNextBox(int button) { ui.boxes().queueAnswer(button); }
    std::vector<CaughtBox> boxes() { return ui.boxes().boxes(); }
    void clearBoxes() { ui.boxes().clear(); }

    // Returns once the panel's own loop takes messages again, that is once
    // every handler has returned (a dialog opened over the panel must have
    // closed); false on a hang.
    bool waitIdle();

    // Waits for the panel to end; false if it does not.
    bool waitForEnd(DWORD timeoutMs = 10000) { return ui.waitForEnd(timeoutMs); }
    INT_PTR result() const { return modalResult; }

private:
    UiThread ui;
    MainPanel* panelObject = nullptr;
    HWND panelWindow = nullptr;
    INT_PTR modalResult = 0;
    HANDLE idle = nullptr;
    WPARAM idleSent = 0;
    std::atomic<WPARAM> idleSeen{0};
};
