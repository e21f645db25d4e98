#include "port_work.h"

PortWork::PortWork(const PortName& port, Progress& progress, FrameObserver* trace)
    : named(port.platformName), session(link, probe, spare, named, progress) {
    link.watch(trace);
}

std::optional<std::uint32_t> PortWork::readDac0(std::uint8_t address) {
    link.deviceAddress = address;
    session.openingBurst();
    std::uint32_t word = 0;
    if (session.readWordRetried(REG_DAC0, word) != transactionSucceeded) return std::nullopt;
    return word;
}

bool PortWork::writeDac0(std::uint8_t address, std::uint16_t value) {
    link.deviceAddress = address;
    session.openingBurst();
    return session.writeWordRetried(REG_DAC0, value) == transactionSucceeded;
}

std::optional<std::uint32_t> PortWork::reset(std::uint16_t value) {
    const std::uint32_t echo = session.reset(value);
    if (echo == DeviceLink::noResetEcho) return std::nullopt;
    return echo;
}
