#pragma once

#include "common_controls.h"
#include "device_link.h"
#include "dialog.h"
#include "port_probe.h"
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

protected:
    const EventTableBase* GetMessageMap() const override;
    void DoDataExchange(DataExchange& exchange) override;
    bool OnInitDialog() override;
};
