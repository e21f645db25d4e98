// The dialog framework with a dialog of its own: event routing, the guard
// of the data exchange, and a dialog run over its owner.

#include "application.h"
#include "data_exchange.h"
#include "dialog.h"
#include "framework_test_ids.h"
#include "ui_thread.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records the key-downs its loop filter sees, and lets them through.
class ProbeApp : public Application {
public:
    bool InitInstance() override { return false; }
    bool PreTranslateMessage(MSG& message) override {
        if (message.message == WM_KEYDOWN) {
            keysSeen.push_back({message.hwnd, message.wParam});
        }
        return Application::PreTranslateMessage(message);
    }
    std::vector<std::pair<HWND, WPARAM>> keysSeen;
};

class ProbeDialog : public Dialog {
public:
    explicit ProbeDialog(int templateId) : Dialog(templateId, nullptr) {}

    std::uint32_t first = 1;
    std::uint32_t second = 0;
    int killFocusCount = 0;
    int clickCount = 0;
    int paintCount = 0;
    std::vector<UINT> sysCommands;
    HICON dragIcon = LoadIconW(nullptr, IDI_APPLICATION);
    bool openChildOnClick = false;
    ProbeDialog* child = nullptr;

protected:
    const EventTableBase* GetMessageMap() const override {
        static const EventTable<ProbeDialog> table{
            onSysCommand(&ProbeDialog::recordSysCommand),
            onPaint(&ProbeDialog::countPaint),
            onQueryDragIcon(&ProbeDialog::giveDragIcon),
            onClicked(IDC_PROBE_BUTTON, &ProbeDialog::clicked),
            onKillFocus(IDC_PROBE_FIRST, &ProbeDialog::countKillFocus),
        };
        return &table;
    }

    void DoDataExchange(DataExchange& exchange) override {
        exchange.unsignedField(IDC_PROBE_FIRST, first, 1, 9);
        exchange.unsignedField(IDC_PROBE_SECOND, second, 0, 100);
    }

private:
    void recordSysCommand(UINT command, LPARAM position) {
        sysCommands.push_back(command);
        defaultSysCommand(command, position);
    }
    void countPaint() {
        ++paintCount;
        defaultPaint();
    }
    HICON giveDragIcon() { return dragIcon; }
    void countKillFocus() { ++killFocusCount; }
    void clicked() {
        ++clickCount;
        if (openChildOnClick) {
            ProbeDialog box(IDD_PROBE_CHILD);
            child = &box;
            box.DoModal(application());
            child = nullptr;
        }
    }
};

class Framework : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui.start([this] {
            ProbeApp app;
            ProbeDialog dialog(IDD_PROBE_DIALOG);
            app.setMainWindow(&dialog);
            probeApp = &app;
            probe = &dialog;
            dialog.DoModal(app);
            probe = nullptr;
            probeApp = nullptr;
        }));
        ASSERT_TRUE(ui.settle());
        ui.call([this] { window = probe ? probe->handle() : nullptr; });
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override {
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(ui.waitForEnd(10000));
    }

    void focus(HWND control) {
        PostMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        ui.settle();
    }

    int killFocusCount() {
        int count = -1;
        ui.call([&] { count = probe->killFocusCount; });
        return count;
    }

    UiThread ui;
    ProbeApp* probeApp = nullptr;
    ProbeDialog* probe = nullptr;
    HWND window = nullptr;
};

TEST_F(Framework, NotificationsAreIgnoredWhileAnExchangeRuns) {
    const HWND first = GetDlgItem(window, IDC_PROBE_FIRST);
    SetWindowTextW(first, L"x");
    focus(first);
    bool accepted = true;
    ui.call([&] { accepted = probe->UpdateData(true); });
    ui.settle();
    EXPECT_FALSE(accepted);
    ASSERT_EQ(ui.boxes().boxes().size(), 1u);
    HWND focused = nullptr;
    ui.call([&] { focused = GetFocus(); });
    EXPECT_EQ(focused, first);
    // The box took the focus from the field and gave it back, unreported.
    EXPECT_EQ(killFocusCount(), 0);

    // Outside an exchange the same focus loss is reported.
    focus(GetDlgItem(window, IDC_PROBE_SECOND));
    EXPECT_EQ(killFocusCount(), 1);
}

TEST_F(Framework, ClicksDuringAnExchangeAreIgnored) {
    SetWindowTextW(GetDlgItem(window, IDC_PROBE_SECOND), L"500");
    int clicks = -1;
    // A click that arrives while the range message is shown.
    ui.call([&] {
        PostMessageW(GetDlgItem(window, IDC_PROBE_BUTTON), BM_CLICK, 0, 0);
        probe->UpdateData(true);
        clicks = probe->clickCount;
    });
    ui.settle();
    EXPECT_EQ(clicks, 0);
    ASSERT_EQ(ui.boxes().boxes().size(), 1u);
    EXPECT_EQ(ui.boxes().boxes()[0].text, L"Please enter an integer between 0 and 100.");
}

TEST_F(Framework, SystemCommandsPaintingAndDragIconReachTheirHandlers) {
    PostMessageW(window, WM_SYSCOMMAND, 0x0010, 0);
    PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ui.settle();
    std::vector<UINT> commands;
    ui.call([&] { commands = probe->sysCommands; });
    EXPECT_EQ(commands, (std::vector<UINT>{0x0010, SC_MINIMIZE}));
    // Passed on to the default processing.
    EXPECT_TRUE(IsIconic(window));

    ui.call([&] {
        ShowWindow(window, SW_RESTORE);
        probe->paintCount = 0;
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    });
    int paints = 0;
    HICON expected = nullptr;
    ui.call([&] {
        paints = probe->paintCount;
        expected = probe->dragIcon;
    });
    EXPECT_GE(paints, 1);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_QUERYDRAGICON, 0, 0)), expected);
}

TEST_F(Framework, ADialogWithoutParentRunsOverTheMainWindow) {
    ui.call([&] { probe->openChildOnClick = true; });
    PostMessageW(GetDlgItem(window, IDC_PROBE_BUTTON), BM_CLICK, 0, 0);
    ui.settle();
    HWND childWindow = nullptr;
    ui.call([&] { childWindow = probe->child ? probe->child->handle() : nullptr; });
    ASSERT_NE(childWindow, nullptr);
    EXPECT_EQ(GetWindow(childWindow, GW_OWNER), window);
    EXPECT_TRUE(IsWindowVisible(childWindow));
    EXPECT_FALSE(IsWindowEnabled(window));
    RECT owner;
    RECT own;
    GetWindowRect(window, &owner);
    GetWindowRect(childWindow, &own);
    EXPECT_NEAR((own.left + own.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((own.top + own.bottom) / 2, (owner.top + owner.bottom) / 2, 1);

    // The application's filter sees the keys of the inner loop too.
    const HWND ok = GetDlgItem(childWindow, IDOK);
    PostMessageW(ok, WM_KEYDOWN, 'A', 1);
    ui.settle();
    std::vector<std::pair<HWND, WPARAM>> keys;
    ui.call([&] { keys = probeApp->keysSeen; });
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].first, ok);

    PostMessageW(childWindow, WM_COMMAND, IDCANCEL, 0);
    ui.settle();
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_TRUE(ui.boxes().boxes().empty());
    EXPECT_TRUE(IsWindowEnabled(window));
}

}  // namespace
