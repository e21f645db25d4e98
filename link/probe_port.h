#pragma once

#include "port_types.h"

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

    bool isOpen() const { return opened != 0; }

private:
    PortHandle portHandle;
    TransferRecord readOverlapped;
    TransferRecord writeOverlapped;
    std::int32_t opened;
};
