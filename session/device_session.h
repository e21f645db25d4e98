#pragma once

#include "device_link.h"
#include "probe_port.h"
#include "progress.h"
#include "serial_port.h"
#include "session_port.h"

#include <cstdint>
#include <functional>

// The device transactions: the command bursts, the register transactions
// with their retries, and the search for a device's address. No port stays
// open between them: each opens the session's port itself and closes it
// again before it returns.
constexpr int openingBurstCycles = 10;
constexpr int closingBurstCycles = 2;
constexpr int transactionTries = 10;

// What a transaction returns.
constexpr std::uint8_t transactionSucceeded = 0;
constexpr std::uint8_t transactionFailed = 1;

// What discovery returns besides an address 0..15.
constexpr std::uint8_t noDeviceAnswered = 16;
constexpr std::uint8_t portDidNotOpen = 17;

class DeviceSession {
public:
    DeviceSession(DeviceLink& link, PortProbe& probe, SerialPort& spare, SessionPort& port,
                  Progress& progress);
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Ten cycles of open, CMD_I, close before each register transaction;
    // two of CMD_H after the work of a Get or a Set. Nothing is read back.
    void openingBurst();
    void closingBurst();

    // Up to ten tries, the port closed and reopened after each failed one;
    // the caller's variable is written only by a try that succeeded.
    std::uint8_t readByteRetried(std::uint16_t reg, std::uint8_t& value);
    std::uint8_t readWordRetried(std::uint16_t reg, std::uint32_t& value);
    std::uint8_t writeWordRetried(std::uint16_t reg, std::uint16_t value);

    // The two checks that the port can be opened, each closing it again
    // since opens are exclusive. The probe opens the short name and sets the
    // port to 8 data bits, which every later open through the device path
    // keeps; the second check opens that device path, as the link will.
    bool portOpens();
    // Addresses the link to this device, sends the opening burst and reads
    // the probe register; true when the device answered, whatever the byte.
    bool answersAt(std::uint8_t address);
    // The port checks, then the addresses from 0 up with the progress
    // following them: the first address that answers, noDeviceAnswered, or
    // portDidNotOpen.
    std::uint8_t discoverDevice();
    // The reset command to address 0 in one exchange, without a burst or a
    // retry: the device's echo, or DeviceLink::noResetEcho.
    std::uint32_t reset(std::uint16_t value);

private:
    void burst(void (DeviceLink::*command)(), int cycles);
    std::uint8_t retried(const std::function<bool()>& tryOnce);

    DeviceLink& link;
    PortProbe& probe;
    SerialPort& spare;
    SessionPort& port;
    Progress& progress;
};
