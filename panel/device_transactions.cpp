// The panel's device transactions, as the shared session runs them on the
// panel's link, probe and spare port, at port portIndex + 1 and with the
// progress on the panel's bar.

#include "main_panel.h"

void MainPanel::openingBurst() { session.openingBurst(); }

void MainPanel::closingBurst() { session.closingBurst(); }

std::uint8_t MainPanel::readByteRetried(std::uint16_t reg, std::uint8_t& value) {
    return session.readByteRetried(reg, value);
}

std::uint8_t MainPanel::readWordRetried(std::uint16_t reg, std::uint32_t& value) {
    return session.readWordRetried(reg, value);
}

std::uint8_t MainPanel::writeWordRetried(std::uint16_t reg, std::uint16_t value) {
    return session.writeWordRetried(reg, value);
}

std::uint8_t MainPanel::discoverDevice() { return session.discoverDevice(); }
