#pragma once

#include <windows.h>

#include <vector>

class Dialog;

// The application object: one per process. Its InitInstance runs before any
// window exists and does the application's whole work, normally by running
// its main dialog modally; the framework runs no message loop of its own.
class Application {
public:
    Application();
    virtual ~Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    virtual bool InitInstance() = 0;

    // Sees every message that the framework's modal loops take from the
    // queue, before translation; true means the message is consumed. The
    // base gives the innermost running dialog its keyboard handling (Tab,
    // arrow keys, the space bar on a button, default and cancel keys).
    virtual bool PreTranslateMessage(MSG& message);

    // The default owner of dialogs that are run without a parent.
    void setMainWindow(Dialog* dialog) { mainDialog = dialog; }
    Dialog* mainWindow() const { return mainDialog; }

private:
    friend class Dialog;
    Dialog* mainDialog = nullptr;
    std::vector<HWND> runningDialogs;
};

// Starts the application; the result is the process's exit status.
int runApplication(Application& application);
