#pragma once

#include "device_link.h"
#include "probe_port.h"
#include "serial_port.h"

#include <cstdint>

// The port a session's opens go to, named anew at every open: the panel's
// follows its port index, which its scan moves between transactions. Each
// open returns what the object's own open returned.
class SessionPort {
public:
    virtual std::int32_t openLink(DeviceLink& link) = 0;
    // The two ways discovery checks that the port can be opened.
    virtual std::int32_t openProbe(PortProbe& probe) = 0;
    virtual std::int32_t openSpare(SerialPort& spare) = 0;

protected:
    ~SessionPort() = default;
};
