#pragma once

#include "protocol.h"
#include "session_port.h"

#include <string>
#include <utility>

// A port that every open names the same way, by its platform name: the
// device path form \\.\COM<n>, which reaches any port number, or on POSIX
// also a device path such as /dev/ttyUSB0.
class NamedPort : public SessionPort {
public:
    explicit NamedPort(std::string platformName) : name(std::move(platformName)) {}

    std::int32_t openLink(DeviceLink& link) override { return link.openNamed(name.c_str()); }
    std::int32_t openProbe(PortProbe& probe) override { return probe.openNamed(name.c_str()); }
    std::int32_t openSpare(SerialPort& spare) override {
        return spare.openNamed(name.c_str(), lineBaudRate);
    }

private:
    std::string name;
};
