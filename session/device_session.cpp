#include "device_session.h"

DeviceSession::DeviceSession(DeviceLink& link, PortProbe& probe, SerialPort& spare,
                             SessionPort& port, Progress& progress)
    : link(link), probe(probe), spare(spare), port(port), progress(progress) {}

// A cycle whose open failed still sends (which writes nothing) and closes.
void DeviceSession::burst(void (DeviceLink::*command)(), int cycles) {
    for (int cycle = 0; cycle < cycles; ++cycle) {
        port.openLink(link);
        (link.*command)();
        link.close();
    }
}

void DeviceSession::openingBurst() { burst(&DeviceLink::sendI, openingBurstCycles); }

void DeviceSession::closingBurst() { burst(&DeviceLink::sendH, closingBurstCycles); }

// A failed try closes and reopens the port, so the next try starts on a
// fresh open with an empty input; after the tenth failure the port is still
// reopened and closed.
std::uint8_t DeviceSession::retried(const std::function<bool()>& tryOnce) {
    port.openLink(link);
    std::uint8_t result = transactionFailed;
    for (int attempt = 0; attempt < transactionTries; ++attempt) {
        if (tryOnce()) {
            result = transactionSucceeded;
            break;
        }
        link.close();
        port.openLink(link);
    }
    link.close();
    return result;
}

std::uint8_t DeviceSession::readByteRetried(std::uint16_t reg, std::uint8_t& value) {
    return retried([&] { return link.readByte(reg, value); });
}

std::uint8_t DeviceSession::readWordRetried(std::uint16_t reg, std::uint32_t& value) {
    return retried([&] { return link.readWord(reg, value); });
}

std::uint8_t DeviceSession::writeWordRetried(std::uint16_t reg, std::uint16_t value) {
    return retried([&] { return link.writeWord(reg, value); });
}

bool DeviceSession::portOpens() {
    if (!port.openProbe(probe)) return false;
    probe.close();
    if (!port.openSpare(spare)) return false;
    spare.close();
    return true;
}

bool DeviceSession::answersAt(std::uint8_t address) {
    link.deviceAddress = address;
    openingBurst();
    std::uint8_t probeByte = 0;
    return readByteRetried(REG_PROBE, probeByte) == transactionSucceeded;
}

// A device at a lower address hides any at a higher one.
std::uint8_t DeviceSession::discoverDevice() {
    if (!portOpens()) return portDidNotOpen;
    progress.setRange(0, highestDeviceAddress);
    progress.setPosition(0);
    for (std::uint8_t address = 0; address <= highestDeviceAddress; ++address) {
        progress.setPosition(address);
        if (answersAt(address)) return address;
    }
    return noDeviceAnswered;
}

std::uint32_t DeviceSession::reset(std::uint16_t value) {
    link.deviceAddress = 0;
    port.openLink(link);
    const std::uint32_t echo = link.sendReset(resetSubCode, value);
    link.close();
    return echo;
}
