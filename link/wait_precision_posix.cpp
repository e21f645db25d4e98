#include "wait_precision.h"

// POSIX sleeps last their time without being asked.
WaitPrecision::TimerCalls WaitPrecision::systemCalls() { return {}; }
