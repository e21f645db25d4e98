#include "device_link.h"

#include <windows.h>

void DeviceLink::waitForReply(std::uint32_t ms) { SleepEx(ms, TRUE); }
