#pragma once

#include "session_port.h"

#include <cstdint>

// The panel's port for the device transactions: port index + 1, read at
// the moment of each open, in the width each object's open takes.
class PanelPort : public SessionPort {
public:
    explicit PanelPort(const std::uint32_t& portIndex) : portIndex(portIndex) {}

    std::int32_t openLink(DeviceLink& link) override {
        return link.open(static_cast<std::uint8_t>(portIndex + 1));
    }
    std::int32_t openProbe(PortProbe& probe) override {
        return probe.open(static_cast<std::int8_t>(portIndex + 1));
    }
    std::int32_t openSpare(SerialPort& spare) override {
        return spare.open(static_cast<std::int32_t>(portIndex + 1), lineBaudRate);
    }

private:
    const std::uint32_t& portIndex;
};
