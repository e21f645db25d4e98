#include "panel_program.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return runPanelProgram(WaitPrecision::systemCalls());
}
