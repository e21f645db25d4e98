// What the two port classes do the same on every platform: their state,
// how they name the port of a number (the serial port by the device path
// form, the probe by the short name, both in plain decimal), and the guards
// around the platform's part, which the backends supply.

#include "probe_port.h"
#include "serial_port.h"

#include <cstdio>

SerialPort::SerialPort()
    : portHandle(invalidPortHandle), readOverlapped{}, writeOverlapped{}, opened(0) {}

SerialPort::~SerialPort() { close(); }

std::int32_t SerialPort::open(std::int32_t n, std::int32_t baudRate) {
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%ld", static_cast<long>(n));
    return openNamed(name, baudRate);
}

// A failure after the platform open has set opened runs close, which
// releases exactly what the open acquired.
std::int32_t SerialPort::openNamed(const char* name, std::int32_t baudRate) {
    if (opened == 1) close();
    if (openDevice(name, baudRate)) return 1;
    close();
    return 0;
}

std::int32_t SerialPort::close() {
    if (!isOpen()) return 1;
    releaseDevice();
    opened = 0;
    portHandle = invalidPortHandle;
    return 1;
}

std::uint32_t SerialPort::writeBytes(const void* data, std::uint32_t count,
                                     std::uint32_t timeoutMs) {
    return isOpen() ? writeDevice(data, count, timeoutMs) : 0;
}

std::uint32_t SerialPort::readBytes(void* buffer, std::uint32_t count, std::uint32_t timeoutMs) {
    return isOpen() ? readDevice(buffer, count, timeoutMs) : 0;
}

ProbePort::ProbePort()
    : portHandle(closedProbeHandle), readOverlapped{}, writeOverlapped{}, opened(0) {}

ProbePort::~ProbePort() { close(); }

std::int32_t ProbePort::open(std::int32_t n, std::int32_t baudRate) {
    char name[32];
    std::snprintf(name, sizeof name, "COM%d", static_cast<int>(n));
    return openNamed(name, baudRate);
}

std::int32_t ProbePort::openNamed(const char* name, std::int32_t baudRate) {
    if (opened == 1) return 1;
    return openDevice(name, baudRate) ? 1 : 0;
}

std::int32_t ProbePort::close() {
    if (!isOpen()) return 1;
    releaseDevice();
    opened = 0;
    portHandle = closedProbeHandle;
    return 1;
}
