#pragma once

#include "application.h"

// The application: runs the main panel and ends when it closes.
class PanelApp : public Application {
public:
    ~PanelApp() override = default;

    bool InitInstance() override;
    // Drops the Enter and Escape key-downs in every dialog of the
    // application, so that neither key presses a button or closes a window.
    bool PreTranslateMessage(MSG& message) override;
};
