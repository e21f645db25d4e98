#pragma once

#include "device_link.h"
#include "device_session.h"
#include "frame_observer.h"
#include "named_port.h"
#include "port_name.h"
#include "probe_port.h"
#include "progress.h"
#include "serial_port.h"

#include <cstdint>
#include <optional>

// The device work on one port, with objects of its own, so that ports can
// work on threads of their own. Every register transaction follows an
// opening burst, as the panel's do.
class PortWork {
public:
    PortWork(const PortName& port, Progress& progress, FrameObserver* trace);

    bool portOpens() { return session.portOpens(); }
    // The panel's discovery: an address 0..15, noDeviceAnswered or portDidNotOpen.
    std::uint8_t discoverDevice() { return session.discoverDevice(); }
    bool answersAt(std::uint8_t address) { return session.answersAt(address); }
    std::optional<std::uint32_t> readDac0(std::uint8_t address);
    bool writeDac0(std::uint8_t address, std::uint16_t value);
    // After the work of a get or a set.
    void closingBurst() { session.closingBurst(); }
    // The reset command to address 0; the device's echo, if it answered.
    std::optional<std::uint32_t> reset(std::uint16_t value);

private:
    DeviceLink link;
    PortProbe probe;
    SerialPort spare;
    NamedPort named;
    DeviceSession session;
};
