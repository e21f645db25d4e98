#pragma once

#include "port_records.h"

#include <cstdint>

// The input and output queue sizes each open asks for: the most a read can
// find waiting.
constexpr std::uint32_t portQueueSize = 10000;

// One serial port, opened by number for one exchange at a time. Every
// operation reports through its result; nothing is shown or remembered.
class SerialPort {
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens \\.\COM<n> exclusively at baudRate, keeping every other line
    // setting. 1 when open; 0 otherwise, and the port is then closed. A port
    // that is open is closed first.
    std::int32_t open(std::int32_t n, std::int32_t baudRate);
    // The same for a port by its platform name: \\.\COM<n>, or on POSIX
    // also a device path.
    std::int32_t openNamed(const char* name, std::int32_t baudRate);
    // Always 1; harmless on a closed port.
    std::int32_t close();
    // Bytes written; the call ends within timeoutMs. 0 on a closed port.
    std::uint32_t writeBytes(const void* data, std::uint32_t count, std::uint32_t timeoutMs);
    // Bytes that had already arrived, at most count; returns at once.
    std::uint32_t readBytes(void* buffer, std::uint32_t count, std::uint32_t timeoutMs);

    bool isOpen() const { return opened != 0 && portHandle != invalidPortHandle; }

private:
    // The platform's part, in serial_port_win32.cpp or serial_port_posix.cpp.
    // openDevice opens and configures the port of a closed object; what it
    // acquired is in the fields, so that on a failure close releases it.
    bool openDevice(const char* name, std::int32_t baudRate);
    void releaseDevice();
    std::uint32_t writeDevice(const void* data, std::uint32_t count, std::uint32_t timeoutMs);
    std::uint32_t readDevice(void* buffer, std::uint32_t count, std::uint32_t timeoutMs);

    PortHandle portHandle;
    TransferRecord readOverlapped;
    TransferRecord writeOverlapped;
    std::int32_t opened;
};
