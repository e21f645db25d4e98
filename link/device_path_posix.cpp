#include "device_path_posix.h"

#include <cstdlib>
#include <cstring>

std::string portDevicePath(const char* windowsName, const char* portDir) {
    if (windowsName[0] == '/') return windowsName;
    const char* name = windowsName;
    if (std::strncmp(name, "\\\\.\\", 4) == 0) name += 4;
    if (std::strncmp(name, "COM", 3) != 0) return {};
    const char* digits = name + 3;
    if (*digits < '1' || *digits > '9') return {};
    char* end = nullptr;
    const long n = std::strtol(digits, &end, 10);
    if (*end != '\0') return {};
    if (portDir != nullptr && *portDir != '\0') {
        return std::string(portDir) + "/com" + std::to_string(n);
    }
    return "/dev/ttyS" + std::to_string(n - 1);
}
