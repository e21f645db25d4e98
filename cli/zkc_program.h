#pragma once

#include "wait_precision.h"

// zkc from start to end, as main runs it: the device's fixed waits made
// precise for as long as it runs, the command line read and the command
// run; the exit status. See usageText().
int runZkc(int argc, char** argv, const WaitPrecision::TimerCalls& timer);
