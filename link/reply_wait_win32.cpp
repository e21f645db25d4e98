#include "device_link.h"

void DeviceLink::waitForReply(std::uint32_t ms) { SleepEx(ms, TRUE); }
