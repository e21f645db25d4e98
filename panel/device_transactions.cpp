// The panel's device transactions: command bursts, register transactions
// with their retries, and the search for the device's address. No port stays
// open between them; each opens port portIndex + 1 and closes it again.

#include "main_panel.h"

namespace {

constexpr int openingBurstCycles = 10;
constexpr int closingBurstCycles = 2;
constexpr int transactionTries = 10;
constexpr std::uint8_t highestAddress = 15;

}  // namespace

void MainPanel::burst(void (DeviceLink::*command)(), int cycles)
{
    for (int cycle = 0; cycle < cycles; ++cycle) {
        deviceLink.open(static_cast<std::uint8_t>(portIndex + 1));
        (deviceLink.*command)();
        deviceLink.close();
    }
}

void MainPanel::openingBurst() { burst(&DeviceLink::sendI, openingBurstCycles); }

void MainPanel::closingBurst() { burst(&DeviceLink::sendH, closingBurstCycles); }

// A failed try closes and reopens the port, so the next try starts on a
// fresh open; after the tenth failure the port is still reopened and closed.
std::uint8_t MainPanel::retried(const std::function<bool()>& tryOnce)
{
    deviceLink.open(static_cast<std::uint8_t>(portIndex + 1));
    std::uint8_t result = 1;
    for (int attempt = 0; attempt < transactionTries; ++attempt) {
        if (tryOnce()) {
            result = 0;
            break;
        }
        deviceLink.close();
        deviceLink.open(static_cast<std::uint8_t>(portIndex + 1));
    }
    deviceLink.close();
    return result;
}

std::uint8_t MainPanel::readByteRetried(std::uint16_t reg, std::uint8_t& value)
{
    return retried([&] { return deviceLink.readByte(reg, value); });
}

std::uint8_t MainPanel::readWordRetried(std::uint16_t reg, std::uint32_t& value)
{
    return retried([&] { return deviceLink.readWord(reg, value); });
}

std::uint8_t MainPanel::writeWordRetried(std::uint16_t reg, std::uint16_t value)
{
    return retried([&] { return deviceLink.writeWord(reg, value); });
}

std::uint8_t MainPanel::discoverDevice()
{
    // The port must open both ways, short name and device path; each test
    // closes it before the next open, since opens are exclusive.
    if (!portProbe.open(static_cast<std::int8_t>(portIndex + 1))) return portDidNotOpen;
    portProbe.close();
    if (!spareSerialPort.open(static_cast<std::int32_t>(portIndex + 1), 9600)) {
        return portDidNotOpen;
    }
    spareSerialPort.close();

    progressBar.setRange(0, highestAddress);
    progressBar.setPos(0);
    for (std::uint8_t address = 0; address <= highestAddress; ++address) {
        progressBar.setPos(address);
        deviceLink.deviceAddress = address;
        openingBurst();
        std::uint8_t probe = 0;  // any byte is an answer
        if (readByteRetried(REG_PROBE, probe) == 0) return address;
    }
    return noDeviceAnswered;
}
