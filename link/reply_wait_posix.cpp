#include "device_link.h"

#include <cerrno>
#include <ctime>

void DeviceLink::waitForReply(std::uint32_t ms) {
    timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {}
}
