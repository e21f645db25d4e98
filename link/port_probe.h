#pragma once

#include "probe_port.h"
#include "protocol.h"

#include <cstdint>

// The probe as the panel uses it: always at 9600 baud.
class PortProbe : public ProbePort {
public:
    virtual ~PortProbe() = default;

    std::int32_t open(std::int8_t n) { return ProbePort::open(n, lineBaudRate); }
    std::int32_t openNamed(const char* name) { return ProbePort::openNamed(name, lineBaudRate); }
    std::int32_t close() { return ProbePort::close(); }
};
