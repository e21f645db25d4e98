#pragma once

#include "wait_precision.h"

// The program from start to end, as WinMain runs it: the device's fixed
// waits made precise for as long as it runs, and the application within.
int runPanelProgram(const WaitPrecision::TimerCalls& timer);
