#pragma once

#include "port_records.h"
#include "protocol.h"

#include <cstdint>

// Opens and closes a port only, to test that it exists and is free.
class ProbePort {
public:
    ProbePort();
    ~ProbePort();
    ProbePort(const ProbePort&) = delete;
    ProbePort& operator=(const ProbePort&) = delete;

    // Opens COM<n> exclusively at baudRate with 8 data bits. On a probe
    // that is already open it returns 1 and changes nothing.
    std::int32_t open(std::int32_t n, std::int32_t baudRate);
    // The same for a port by its platform name: COM<n>, \\.\COM<n>, or on
    // POSIX also a device path.
    std::int32_t openNamed(const char* name, std::int32_t baudRate);
    // Always 1; harmless on a closed probe.
    std::int32_t close();

    bool isOpen() const { return opened != 0 && portHandle != closedProbeHandle; }

private:
    // The platform's part, in serial_port_win32.cpp or serial_port_posix.cpp.
    // openDevice opens and configures the port, and on a failure releases
    // what it acquired itself; only a success fills the fields.
    bool openDevice(const char* name, std::int32_t baudRate);
    void releaseDevice();

    PortHandle portHandle;
    TransferRecord readOverlapped;
    TransferRecord writeOverlapped;
    std::int32_t opened;
};

// The probe as the panel uses it: always at 9600 baud.
class PortProbe : public ProbePort {
public:
    virtual ~PortProbe() = default;

    std::int32_t open(std::int8_t n) { return ProbePort::open(n, lineBaudRate); }
    std::int32_t openNamed(const char* name) { return ProbePort::openNamed(name, lineBaudRate); }
    std::int32_t close() { return ProbePort::close(); }
};
