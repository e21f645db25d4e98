#include "panel_app.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    PanelApp app;
    return runApplication(app);
}
