// What the panel's buttons and port field do: each action runs its whole
// exchange with the device and reports the outcome in a message box.

#include "action_messages.h"
#include "main_panel.h"
#include "wait_cursor.h"

namespace {

constexpr std::uint32_t lastPortIndex = 8;  // COM9
constexpr UINT failureStyle = MB_OK | MB_ICONEXCLAMATION;

}  // namespace

void MainPanel::onGet() {
    const ActionScope action(actionRunning);
    UpdateData(true);
    showWaitCursor();
    const std::uint8_t found = discoverDevice();
    if (found == noDeviceAnswered) {
        messageBox(notConnectedMessage(portNumber), controlTitle, failureStyle);
        return;
    }
    if (found == portDidNotOpen) {
        if (messageBox(scanQuestion, controlTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
        if (!scanPorts()) return;
    }
    readDac0();
}

bool MainPanel::scanPorts() {
    unsigned portCount = 0;
    std::wstring portList;
    for (portIndex = 0; portIndex <= lastPortIndex; ++portIndex) {
        const std::uint8_t found = discoverDevice();
        if (found == portDidNotOpen) continue;
        if (found != noDeviceAnswered) return true;
        ++portCount;
        portList += scannedPortEntry(portIndex + 1);
    }
    // Back to the operator's port: no later action may open a port that was
    // only scanned.
    portIndex = portNumber - 1;
    messageBox(
        portCount == 0 ? std::wstring(noPortFound) : portsWithoutDeviceMessage(portCount, portList),
        controlTitle, failureStyle);
    return false;
}

void MainPanel::readDac0() {
    portNumber = portIndex + 1;
    UpdateData(false);
    progressBar.setRange(0, 1);
    openingBurst();
    progressBar.setPos(0);
    progressBar.setPos(1);
    if (readWordRetried(REG_DAC0, dac0Value) != 0) {
        messageBox(readingFailure, controlTitle, failureStyle);
    }
    closingBurst();
    UpdateData(false);
    progressBar.setPos(0);
}

void MainPanel::onSet() {
    const ActionScope action(actionRunning);
    showWaitCursor();
    // A rejected field has just been explained to the operator; a value out
    // of its bounds, or a stale one, must not reach the device.
    if (!UpdateData(true)) return;
    openingBurst();
    progressBar.setPos(1);
    const bool written = writeWordRetried(REG_DAC0, static_cast<std::uint16_t>(dac0Value)) == 0;
    messageBox(written ? writingDone : writingFailure, controlTitle,
               written ? MB_OK : failureStyle);
    progressBar.setPos(0);
    closingBurst();
}

void MainPanel::onReset() {
    const ActionScope action(actionRunning);
    if (!UpdateData(true)) return;
    const std::uint32_t echo = session.reset(static_cast<std::uint16_t>(resetValue));
    if (echo != resetValue) messageBox(resetFailure, pcbControlTitle, failureStyle);
}

void MainPanel::onPortFieldCommit() {
    if (actionRunning) return;
    UpdateData(true);
    portIndex = portNumber - 1;
}
