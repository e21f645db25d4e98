#include "main_panel.h"

#include "data_exchange.h"
#include "resource_ids.h"

MainPanel::MainPanel(HWND parent)
    : Dialog(IDD_MAIN_PANEL, parent),
      iconHandle(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN_ICON)))
{
}

const EventTableBase* MainPanel::GetMessageMap() const
{
    static const EventTable<MainPanel> table{
        onClicked(IDC_GET_BUTTON, &MainPanel::onGet),
        onClicked(IDC_SET_BUTTON, &MainPanel::onSet),
        onKillFocus(IDC_PORT_FIELD, &MainPanel::onPortFieldCommit),
        onClicked(IDC_RESET_BUTTON, &MainPanel::onReset),
    };
    return &table;
}

void MainPanel::DoDataExchange(DataExchange& exchange)
{
    exchange.control(IDC_PORT_SPIN, portSpin);
    exchange.control(IDC_PROGRESS_BAR, progressBar);
    exchange.unsignedField(IDC_PORT_FIELD, portNumber, 1, 9);
    exchange.unsignedField(IDC_TIME_FIELD, timeValue, 0, 250);
    exchange.unsignedField(IDC_RESET_VALUE_FIELD, resetValue, 0, 250);
    exchange.unsignedField(IDC_DAC0_FIELD, dac0Value, 0, 4095);
}

bool MainPanel::OnInitDialog()
{
    Dialog::OnInitDialog();
    SetIcon(iconHandle, true);
    SetIcon(iconHandle, false);
    portSpin.setRange(1, 9);
    portIndex = 0;
    portNumber = 1;
    deviceLink.deviceAddress = 0;
    progressBar.setRange(0, 1);
    progressBar.setPos(0);
    UpdateData(false);
    return true;
}
