#pragma once

#include "message_box_catcher.h"

#include <windows.h>

#include <functional>
#include <thread>

// A user-interface thread for a test: it runs a body (typically a modal
// dialog) with a message box catcher installed, and lets the test thread run
// code on it and wait until it has handled everything queued so far.
class UiThread {
public:
    UiThread() = default;
    ~UiThread();
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    // Starts the thread; returns once its helper window exists.
    bool start(std::function<void()> body);
    // Runs work on the UI thread and returns when it is done; false when the
    // thread no longer takes messages.
    bool call(const std::function<void()>& work);
    // Returns once the UI thread has handled every message posted to it so
    // far and no message box is open; false on a hang.
    bool settle();
    // Waits for the body to return.
    bool waitForEnd(DWORD timeoutMs);
    bool ended() const;

    MessageBoxCatcher& boxes() { return catcher; }
    DWORD threadId() const { return uiThreadId; }

private:
    static LRESULT CALLBACK helperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void run(std::function<void()> body);

    std::thread thread;
    HANDLE ready = nullptr;
    HANDLE finished = nullptr;
    HWND helper = nullptr;
    DWORD uiThreadId = 0;
    MessageBoxCatcher catcher;
};
