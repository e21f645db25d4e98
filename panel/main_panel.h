#pragma once

#include "common_controls.h"
#include "device_link.h"
#include "device_session.h"
#include "dialog.h"
#include "panel_port.h"
#include "panel_progress.h"
#include "probe_port.h"
#include "serial_port.h"

#include <windows.h>

#include <cstdint>

// The main panel: the port and DAC0 fields with the values behind them, the
// controls that show progress, and the objects through which the device is
// reached. Its members are used by the panel's actions and by the tests.
class MainPanel : public Dialog {
public:
    explicit MainPanel(HWND parent);
    ~MainPanel() override = default;

    std::uint32_t portIndex;  // port number minus one; set up by OnInitDialog
    SpinButton portSpin;
    ProgressBar progressBar;
    std::uint32_t portNumber = 0;  // 1..9
    std::uint32_t timeValue = 0;   // 0..250, hidden field
    std::uint32_t resetValue = 0;  // 0..250, hidden field
    std::uint32_t dac0Value = 0;   // 0..4095
    HICON iconHandle;
    PortProbe portProbe;
    DeviceLink deviceLink;
    SerialPort spareSerialPort;

    // Device transactions, run by the shared session: every open is on
    // port portIndex + 1.
    void openingBurst();
    void closingBurst();
    // 0 when a try succeeded, 1 when all ten tries failed.
    std::uint8_t readByteRetried(std::uint16_t reg, std::uint8_t& value);
    std::uint8_t readWordRetried(std::uint16_t reg, std::uint32_t& value);
    std::uint8_t writeWordRetried(std::uint16_t reg, std::uint16_t value);
    // The address 0..15 that answered, or one of the two results below.
    std::uint8_t discoverDevice();
    static constexpr std::uint8_t noDeviceAnswered = ::noDeviceAnswered;
    static constexpr std::uint8_t portDidNotOpen = ::portDidNotOpen;

    // Panel actions.
    void onGet();
    void onSet();
    void onPortFieldCommit();
    void onReset();

protected:
    const EventTableBase* GetMessageMap() const override;
    void DoDataExchange(DataExchange& exchange) override;
    bool OnInitDialog() override;

    // System menu, painting and dragging of the window.
    void OnSysCommand(UINT command, LPARAM position);
    void OnPaint();
    HICON OnQueryDragIcon();

private:
    // Marks an action as running for as long as it lasts.
    class ActionScope {
    public:
        explicit ActionScope(bool& running) : running(running) { running = true; }
        ~ActionScope() { running = false; }

    private:
        bool& running;
    };

    // Appends a separator and the About item to the system menu.
    void addAboutItem();
    // Steps portIndex over COM1..COM9; true when a device answered there.
    bool scanPorts();
    void readDac0();

    // The port field also loses the focus when an action's message box
    // opens; the action keeps the port it started with, and the field
    // commits at its next focus loss.
    bool actionRunning = false;

    PanelPort sessionPort{portIndex};
    PanelProgress sessionProgress{progressBar};
    DeviceSession session{deviceLink, portProbe, spareSerialPort, sessionPort, sessionProgress};
};
