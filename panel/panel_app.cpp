#include "panel_app.h"

#include "main_panel.h"

bool PanelApp::InitInstance() {
    {
        MainPanel panel(nullptr);
        setMainWindow(&panel);
        panel.DoModal(*this);
        setMainWindow(nullptr);
    }
    return false;
}

bool PanelApp::PreTranslateMessage(MSG& message) {
    if (message.message == WM_KEYDOWN &&
        (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        return true;
    }
    return Application::PreTranslateMessage(message);
}
