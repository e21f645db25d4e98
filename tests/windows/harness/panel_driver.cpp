#include "panel_driver.h"

#include "panel_app.h"
#include "resource_ids.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

// Posted to the UI thread itself: only the panel's own loop hands such a
// message to the application's key filter (a message box's loop drops it),
// so its arrival there means every handler has returned.
constexpr UINT idleMessage = WM_APP + 40;
// A generous bound that only catches hangs: a port scan may take a minute.
constexpr ULONGLONG actionLimitMs = 180000;

class DrivenPanelApp : public PanelApp {
public:
    DrivenPanelApp(HANDLE idle, std::atomic<WPARAM>& idleSeen) : idle(idle), idleSeen(idleSeen) {}

    // Each idle message carries its number, so that one left over from an
    // earlier wait cannot end a later one.
    bool PreTranslateMessage(MSG& message) override {
        if (message.hwnd == nullptr && message.message == idleMessage) {
            // A dialog run over the panel (the About box) takes it in its own
            // loop, while the handler that opened the dialog still runs.
            if (mainWindow() && IsWindowEnabled(mainWindow()->handle())) {
                idleSeen = message.wParam;
                SetEvent(idle);
            }
            return true;
        }
        return PanelApp::PreTranslateMessage(message);
    }

private:
    HANDLE idle;
    std::atomic<WPARAM>& idleSeen;
};

// Key-down flags: repeat count 1, and the Alt bit for system keys.
LPARAM keyFlags(UINT message, LPARAM extra) {
    const LPARAM repeat = 1;
    const LPARAM altDown = message == WM_SYSKEYDOWN ? (LPARAM{1} << 29) : 0;
    const LPARAM released = (message == WM_KEYUP || message == WM_SYSKEYUP) ? (LPARAM{3} << 30) : 0;
    return repeat | altDown | released | extra;
}

}  // namespace

PanelDriver::~PanelDriver() {
    if (running()) {
        command(IDCANCEL);
        waitForEnd();
    }
    if (idle) {
        CloseHandle(idle);
    }
}

bool PanelDriver::start() {
    idle = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const bool started = ui.start([this] {
        DrivenPanelApp app(idle, idleSeen);
        MainPanel panel(nullptr);
        app.setMainWindow(&panel);
        panelObject = &panel;
        modalResult = panel.DoModal(app);
        app.setMainWindow(nullptr);
        panelObject = nullptr;
    });
    if (!started) {
        return false;
    }
    // Set up means: the window is shown, which happens once its set-up has
    // returned, and the modal loop has handled what was posted meanwhile.
    const ULONGLONG begin = GetTickCount64();
    while (GetTickCount64() - begin < 20000 && !ui.ended()) {
        HWND shown = nullptr;
        ui.call([this, &shown] {
            if (panelObject && panelObject->handle() && IsWindowVisible(panelObject->handle())) {
                shown = panelObject->handle();
            }
        });
        if (shown && ui.settle()) {
            panelWindow = shown;
            return true;
        }
        Sleep(10);
    }
    return false;
}

std::wstring PanelDriver::text(int id) const {
    const HWND window = control(id);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<std::size_t>(length));
}

void PanelDriver::setText(int id, const std::wstring& text) {
    SetDlgItemTextW(panelWindow, id, text.c_str());
    ui.settle();
}

void PanelDriver::click(int id) {
    PostMessageW(control(id), BM_CLICK, 0, 0);
    waitIdle();
}

void PanelDriver::command(int id) {
    PostMessageW(panelWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    waitIdle();
}

bool PanelDriver::waitIdle() {
    const WPARAM wanted = ++idleSent;
    const ULONGLONG begin = GetTickCount64();
    while (!ui.ended() && GetTickCount64() - begin < actionLimitMs) {
        PostThreadMessageW(ui.threadId(), idleMessage, wanted, 0);
        WaitForSingleObject(idle, 50);
        if (idleSeen == wanted) return true;
    }
    return ui.ended();
}

void PanelDriver::sysCommand(WPARAM command) {
    PostMessageW(panelWindow, WM_SYSCOMMAND, command, 0);
    ui.settle();
}

namespace {

struct DialogSearch {
    HWND panel;
    HWND found;
};

// A named callback: on 32-bit Windows the enumeration calls it with the
// system's calling convention, which no lambda has.
BOOL CALLBACK findDialogOverPanel(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (GetWindow(window, GW_OWNER) == search->panel && IsWindowVisible(window) &&
        std::wstring(className) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND PanelDriver::dialogOverPanel() {
    DialogSearch search{panelWindow, nullptr};
    EnumThreadWindows(ui.threadId(), findDialogOverPanel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PanelDriver::focus(int id) {
    PostMessageW(panelWindow, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(id)), TRUE);
    ui.settle();
}

HWND PanelDriver::focusedWindow() {
    HWND focused = nullptr;
    ui.call([&focused] { focused = GetFocus(); });
    return focused;
}

int PanelDriver::focusedId() {
    const HWND focused = focusedWindow();
    return focused ? GetDlgCtrlID(focused) : 0;
}

std::pair<int, int> PanelDriver::selection(int id) const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

void PanelDriver::postKey(UINT message, WPARAM key, LPARAM flags) {
    PostMessageW(focusedWindow(), message, key, keyFlags(message, flags));
    ui.settle();
}

void PanelDriver::clickSpinArrow(bool up) {
    const HWND spin = control(IDC_PORT_SPIN);
    RECT client;
    GetClientRect(spin, &client);
    const int x = client.right / 2;
    const int y = up ? client.bottom / 4 : client.bottom * 3 / 4;
    PostMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ui.settle();
}

ProgressState PanelDriver::progress() const {
    PBRANGE range{};
    SendMessageW(control(IDC_PROGRESS_BAR), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const int position =
        static_cast<int>(SendMessageW(control(IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0));
    return {range.iLow, range.iHigh, position};
}

bool PanelDriver::onPanel(const std::function<void(MainPanel&)>& work) {
    bool done = false;
    ui.call([&] {
        if (panelObject) {
            work(*panelObject);
            done = true;
        }
    });
    return done && ui.settle();
}

bool PanelDriver::updateData(bool saveAndValidate) {
    bool accepted = false;
    onPanel([&](MainPanel& p) { accepted = p.UpdateData(saveAndValidate); });
    return accepted;
}
