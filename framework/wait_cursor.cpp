#include "wait_cursor.h"

#include <windows.h>

void showWaitCursor() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }
