// The main panel's resources as built into the program, and the windows the
// template gives at start.

#include "dialog_template_reader.h"
#include "expected_controls.h"
#include "panel_driver.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr DWORD noId = 0xFFFFFFFF;
constexpr DWORD child = WS_CHILD | WS_VISIBLE;
constexpr DWORD hiddenChild = WS_CHILD;

const ExpectedControl panelControls[] = {
    {noId, L"Button", L"COM port", child | BS_GROUPBOX, 0, 127, 3, 42, 27},
    {IDC_PORT_FIELD, L"Edit", L"", child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 132, 14, 19,
     12},
    {IDC_PORT_SPIN, L"msctls_updown32", L"",
     child | UDS_SETBUDDYINT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 151, 14, 11, 12},
    {IDC_GET_BUTTON, L"Button", L"Get ", child | WS_TABSTOP | BS_PUSHBUTTON, 0, 35, 75, 36, 14},
    {IDC_SET_BUTTON, L"Button", L"Set ", child | WS_TABSTOP | BS_PUSHBUTTON, 0, 105, 75, 36, 14},
    {noId, L"Static", L"Action:", child | WS_GROUP | SS_LEFT, 0, 13, 90, 23, 8},
    {IDC_PROGRESS_BAR, L"msctls_progress32", L"", child | WS_BORDER,
     WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, 39, 91, 122, 9},
    {IDOK, L"Button", L"Exit", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 70, 104, 36, 14},
    {noId, L"Button", L"Motor Current on Run", child | BS_GROUPBOX, 0, 28, 39, 118, 33},
    {noId, L"Static", L"Time [s]", hiddenChild | WS_GROUP | SS_LEFT, 0, 7, 9, 26, 8},
    {IDC_TIME_FIELD, L"Edit", L"",
     hiddenChild | WS_DISABLED | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 15, 22, 32, 13},
    {IDC_RESET_VALUE_FIELD, L"Edit", L"", hiddenChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0,
     37, 7, 32, 13},
    {IDC_RESET_BUTTON, L"Button", L"Reset", hiddenChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 80, 7, 36,
     13},
    {IDC_DAC0_FIELD, L"Edit", L"", child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 81, 50, 43,
     14},
    {noId, L"Static", L"DAC0", child | WS_GROUP | SS_LEFT, 0, 51, 52, 21, 12},
};

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

TEST(PanelResources, DialogTemplateIsTheOneDrawn) {
    DialogTemplate panel;
    ASSERT_TRUE(readDialogTemplate(IDD_MAIN_PANEL, panel));
    EXPECT_TRUE(panel.extended);
    EXPECT_EQ(panel.style,
              static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                 WS_MAXIMIZEBOX | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(panel.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(panel.x, 0);
    EXPECT_EQ(panel.y, 0);
    EXPECT_EQ(panel.cx, 176);
    EXPECT_EQ(panel.cy, 127);
    EXPECT_EQ(panel.title, L"ZKC-Vandor");
    EXPECT_EQ(panel.pointSize, 8);
    EXPECT_EQ(panel.weight, FW_NORMAL);
    EXPECT_EQ(panel.typeface, L"MS Sans Serif");

    expectControls(panel.items, panelControls);
}

TEST(PanelResources, StringIconAndVersion) {
    const HMODULE module = GetModuleHandleW(nullptr);
    wchar_t item[64] = {};
    LoadStringW(module, IDS_ABOUT_ITEM, item, 64);
    EXPECT_STREQ(item, L"&About ZKC-Vandor...");

    // The icon group lists its images: 32x32 and 16x16, 16 colours each.
    const HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(IDI_MAIN_ICON), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    WORD count = 0;
    std::memcpy(&count, directory + 4, sizeof(count));
    ASSERT_EQ(count, 2);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = directory + 6 + 14 * i;  // width, height, colours, ...
        WORD bitCount = 0;
        std::memcpy(&bitCount, entry + 6, sizeof(bitCount));
        EXPECT_EQ(entry[0], entry[1]);
        EXPECT_EQ(entry[2], 16);
        EXPECT_EQ(bitCount, 4);
        sizes.push_back(entry[0]);
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));

    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<BYTE> version(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(version.size()), version.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(translation[0], 0x0409);
}

class PanelStart : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(driver.start()); }
    PanelDriver driver;
};

TEST_F(PanelStart, WindowsFollowTheTemplateInOrder) {
    HWND window = GetWindow(driver.panel(), GW_CHILD);
    for (const ExpectedControl& want : panelControls) {
        ASSERT_NE(window, nullptr);
        SCOPED_TRACE(std::wstring(L"control ") + want.text + L" " + want.className);
        EXPECT_EQ(static_cast<DWORD>(GetDlgCtrlID(window)) & 0xFFFF, want.id & 0xFFFF);
        EXPECT_EQ(lowerCase(classOf(window)), lowerCase(want.className));
        EXPECT_EQ(IsWindowVisible(window) != FALSE, (want.style & WS_VISIBLE) != 0);
        EXPECT_EQ(IsWindowEnabled(window) != FALSE, (want.style & WS_DISABLED) == 0);
        // Creation maps the position and the size of a control separately.
        RECT place{want.x, want.y, 0, 0};
        RECT size{0, 0, want.cx, want.cy};
        MapDialogRect(driver.panel(), &place);
        MapDialogRect(driver.panel(), &size);
        RECT actual;
        GetWindowRect(window, &actual);
        MapWindowPoints(nullptr, driver.panel(), reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, place.left);
        EXPECT_EQ(actual.top, place.top);
        EXPECT_EQ(actual.bottom - actual.top, size.bottom);
        // An up-down control picks its own width once it has its buddy.
        if (want.id != IDC_PORT_SPIN) {
            EXPECT_EQ(actual.right - actual.left, size.right);
        }
        window = GetWindow(window, GW_HWNDNEXT);
    }
    EXPECT_EQ(window, nullptr);
}

TEST_F(PanelStart, ShowsPortOneAndAnEmptyBarWithTheFocusInThePortField) {
    EXPECT_EQ(driver.text(IDC_PORT_FIELD), L"1");
    EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"0");
    EXPECT_EQ(driver.text(IDC_TIME_FIELD), L"0");
    EXPECT_EQ(driver.text(IDC_RESET_VALUE_FIELD), L"0");
    const ProgressState bar = driver.progress();
    EXPECT_EQ(bar.lowest, 0);
    EXPECT_EQ(bar.highest, 1);
    EXPECT_EQ(bar.position, 0);
    EXPECT_EQ(driver.focusedId(), IDC_PORT_FIELD);

    int lower = 0;
    int upper = 0;
    SendMessageW(driver.control(IDC_PORT_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                 reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 9);
    EXPECT_EQ(
        reinterpret_cast<HWND>(SendMessageW(driver.control(IDC_PORT_SPIN), UDM_GETBUDDY, 0, 0)),
        driver.control(IDC_PORT_FIELD));

    driver.onPanel([&](MainPanel& panel) {
        EXPECT_EQ(panel.portIndex, 0u);
        EXPECT_EQ(panel.portNumber, 1u);
        EXPECT_EQ(panel.dac0Value, 0u);
        EXPECT_EQ(panel.timeValue, 0u);
        EXPECT_EQ(panel.resetValue, 0u);
        EXPECT_EQ(panel.deviceLink.deviceAddress, 0);
        EXPECT_EQ(panel.portSpin.handle(), driver.control(IDC_PORT_SPIN));
        EXPECT_EQ(panel.progressBar.handle(), driver.control(IDC_PROGRESS_BAR));
        ASSERT_NE(panel.iconHandle, nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(driver.panel(), WM_GETICON, ICON_BIG, 0)),
                  panel.iconHandle);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(driver.panel(), WM_GETICON, ICON_SMALL, 0)),
                  panel.iconHandle);
    });
}

TEST_F(PanelStart, IsCentredInTheWorkArea) {
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT own;
    GetWindowRect(driver.panel(), &own);
    EXPECT_NEAR((own.left + own.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((own.top + own.bottom) / 2, (area.top + area.bottom) / 2, 1);
    EXPECT_EQ(GetWindow(driver.panel(), GW_OWNER), nullptr);
}

TEST_F(PanelStart, TabVisitsTheVisibleControlsInOrder) {
    const int order[] = {IDC_GET_BUTTON, IDC_SET_BUTTON, IDOK, IDC_DAC0_FIELD, IDC_PORT_FIELD};
    for (int next : order) {
        driver.postKey(WM_KEYDOWN, VK_TAB);
        driver.postKey(WM_KEYUP, VK_TAB);
        EXPECT_EQ(driver.focusedId(), next);
    }
    EXPECT_TRUE(driver.running());
}

}  // namespace
