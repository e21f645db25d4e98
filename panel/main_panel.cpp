#include "main_panel.h"

#include "about_box.h"
#include "data_exchange.h"
#include "icon_position.h"
#include "resource_ids.h"

MainPanel::MainPanel(HWND parent)
    : Dialog(IDD_MAIN_PANEL, parent),
      iconHandle(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAIN_ICON))) {}

const EventTableBase* MainPanel::GetMessageMap() const {
    static const EventTable<MainPanel> table{
        onSysCommand(&MainPanel::OnSysCommand),
        onPaint(&MainPanel::OnPaint),
        onQueryDragIcon(&MainPanel::OnQueryDragIcon),
        onClicked(IDC_GET_BUTTON, &MainPanel::onGet),
        onClicked(IDC_SET_BUTTON, &MainPanel::onSet),
        onKillFocus(IDC_PORT_FIELD, &MainPanel::onPortFieldCommit),
        onClicked(IDC_RESET_BUTTON, &MainPanel::onReset),
    };
    return &table;
}

void MainPanel::DoDataExchange(DataExchange& exchange) {
    exchange.control(IDC_PORT_SPIN, portSpin);
    exchange.control(IDC_PROGRESS_BAR, progressBar);
    exchange.unsignedField(IDC_PORT_FIELD, portNumber, 1, 9);
    exchange.unsignedField(IDC_TIME_FIELD, timeValue, 0, 250);
    exchange.unsignedField(IDC_RESET_VALUE_FIELD, resetValue, 0, 250);
    exchange.unsignedField(IDC_DAC0_FIELD, dac0Value, 0, 4095);
}

bool MainPanel::OnInitDialog() {
    Dialog::OnInitDialog();
    addAboutItem();
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

void MainPanel::addAboutItem() {
    const HMENU systemMenu = GetSystemMenu(handle(), FALSE);
    if (!systemMenu) {
        return;
    }
    wchar_t text[64] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUT_ITEM, text, 64) > 0) {
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, IDM_ABOUT_ITEM, text);
    }
}

void MainPanel::OnSysCommand(UINT command, LPARAM position) {
    // The window system uses the low four bits of a command itself.
    if ((command & ~0xFu) == IDM_ABOUT_ITEM) {
        AboutBox box;
        box.DoModal(application());
    } else {
        defaultSysCommand(command, position);
    }
}

void MainPanel::OnPaint() {
    if (!IsIconic(handle())) {
        defaultPaint();
        return;
    }
    PAINTSTRUCT paint;
    const HDC context = BeginPaint(handle(), &paint);
    SendMessageW(handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    RECT client;
    GetClientRect(handle(), &client);
    const IconPosition at =
        centredIconPosition(client.right - client.left, client.bottom - client.top,
                            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    DrawIcon(context, at.x, at.y, iconHandle);
    EndPaint(handle(), &paint);
}

HICON MainPanel::OnQueryDragIcon() { return iconHandle; }
