#include "wait_precision.h"

#include <windows.h>

#include <mmsystem.h>

WaitPrecision::TimerCalls WaitPrecision::systemCalls() {
    return {[](unsigned ms) { timeBeginPeriod(ms); }, [](unsigned ms) { timeEndPeriod(ms); }};
}
