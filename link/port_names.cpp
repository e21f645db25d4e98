// How the two port classes name the port of a number: the serial port by
// the device path form, the probe by the short name; both in plain decimal.

#include "probe_port.h"
#include "serial_port.h"

#include <cstdio>

std::int32_t SerialPort::open(std::int32_t n, std::int32_t baudRate) {
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%ld", static_cast<long>(n));
    return openNamed(name, baudRate);
}

std::int32_t ProbePort::open(std::int32_t n, std::int32_t baudRate) {
    char name[32];
    std::snprintf(name, sizeof name, "COM%d", static_cast<int>(n));
    return openNamed(name, baudRate);
}
