// The panel's identity: the About item of its system menu, the About box it
// opens, the icon it hands out, and the version block of the program.

#include "dialog_template_reader.h"
#include "expected_controls.h"
#include "panel_driver.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr DWORD unnamed = 0xFFFF;  // a classic template's id of an item without one
constexpr DWORD child = WS_CHILD | WS_VISIBLE;
constexpr wchar_t aboutLine[] = L"ZKC-Vandor  Version 1.0.0.1  -  ";

std::wstring menuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

std::wstring windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

POINT centreOf(HWND window) {
    RECT place;
    GetWindowRect(window, &place);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

TEST(AboutResources, TemplateIsTheClassicOneDrawn) {
    DialogTemplate box;
    ASSERT_TRUE(readDialogTemplate(IDD_ABOUT_BOX, box));
    EXPECT_FALSE(box.extended);
    EXPECT_EQ(box.style,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(box.exStyle, 0u);
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(box.cx, 202);
    EXPECT_EQ(box.cy, 58);
    EXPECT_EQ(box.title, L"About ZKC-Vandor...");
    EXPECT_EQ(box.pointSize, 8);
    EXPECT_EQ(box.typeface, L"MS Sans Serif");

    const ExpectedControl controls[] = {
        {unnamed, L"Static", L"#128", child | SS_ICON, 0, 11, 26, 20, 20},
        {unnamed, L"Static", nullptr, child | SS_LEFT | SS_NOPREFIX | WS_GROUP, 0, 25, 10, 150, 8},
        {IDOK, L"Button", L"OK", child | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 75, 37, 50,
         14},
    };
    expectControls(box.items, controls);
    ASSERT_EQ(box.items.size(), std::size(controls));
    // The version line ends with a date in the form of __DATE__ (whose day
    // is the commit's: the release checks show that).
    const std::wregex versionLine(std::wstring(aboutLine) + L"[A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}");
    EXPECT_TRUE(std::regex_match(box.items[1].text, versionLine))
        << std::string(box.items[1].text.begin(), box.items[1].text.end());
}

// Explorer shows these strings; the fixed version numbers and the language
// are checked with the panel's resources.
TEST(AboutResources, VersionStringsAreUsEnglishOnePointZeroZeroOne) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<BYTE> version(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(version.size()), version.data()));
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        ASSERT_TRUE(VerQueryValueW(version.data(), query.c_str(), reinterpret_cast<void**>(&value),
                                   &length))
            << "no US English " << std::string(query.begin(), query.end());
        EXPECT_STREQ(value, L"1.0.0.1");
    }
}

class PanelAbout : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(driver.start()); }

    // A box left open by a failed check would keep the panel from closing.
    void TearDown() override {
        if (const HWND box = driver.dialogOverPanel()) {
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            driver.waitIdle();
        }
    }

    HWND openAboutBox(WPARAM command = IDM_ABOUT_ITEM) {
        driver.sysCommand(command);
        return driver.dialogOverPanel();
    }

    // The box is gone and the panel takes input again.
    void expectClosed(HWND box) {
        EXPECT_TRUE(driver.waitIdle());
        EXPECT_FALSE(IsWindow(box));
        EXPECT_EQ(driver.dialogOverPanel(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(driver.panel()));
        EXPECT_TRUE(driver.running());
    }

    PanelDriver driver;
};

TEST_F(PanelAbout, SystemMenuEndsWithTheStandardItemsASeparatorAndTheAboutItem) {
    const HMENU menu = GetSystemMenu(driver.panel(), FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 3);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUT_ITEM));
    EXPECT_EQ(menuText(menu, count - 1), L"&About ZKC-Vandor...");
    EXPECT_EQ(GetMenuState(menu, count - 1, MF_BYPOSITION) & (MF_SEPARATOR | MF_POPUP), 0u);
    EXPECT_NE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);

    // Before them only the window system's items, Wine's "&About Wine"
    // among them, the standard commands included.
    std::vector<UINT> standard;
    for (int i = 0; i < count - 2; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        EXPECT_NE(id & ~0xFu, static_cast<UINT>(IDM_ABOUT_ITEM)) << "item " << i;
        standard.push_back(id);
    }
    for (UINT command : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}) {
        EXPECT_NE(std::find(standard.begin(), standard.end(), command), standard.end())
            << "no standard item " << std::hex << command;
    }
}

class AboutCommand : public PanelAbout, public ::testing::WithParamInterface<WPARAM> {};

TEST_P(AboutCommand, OpensTheBoxCentredOverTheDisabledPanel) {
    const HWND box = openAboutBox(GetParam());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(windowText(box), L"About ZKC-Vandor...");
    EXPECT_FALSE(IsWindowEnabled(driver.panel()));
    const POINT boxCentre = centreOf(box);
    const POINT panelCentre = centreOf(driver.panel());
    EXPECT_NEAR(boxCentre.x, panelCentre.x, 1);
    EXPECT_NEAR(boxCentre.y, panelCentre.y, 1);

    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    expectClosed(box);
}

INSTANTIATE_TEST_SUITE_P(LowFourBitsIgnored, AboutCommand, ::testing::Values(16, 17, 31));

class OtherCommand : public PanelAbout, public ::testing::WithParamInterface<WPARAM> {};

TEST_P(OtherCommand, OpensNoBox) {
    EXPECT_EQ(openAboutBox(GetParam()), nullptr);
    EXPECT_TRUE(IsWindowEnabled(driver.panel()));
    EXPECT_TRUE(driver.running());
}

INSTANTIATE_TEST_SUITE_P(NextToTheAboutItem, OtherCommand, ::testing::Values(15, 32));

// Close keeps its effect as well: the panel's key tests close it through
// the system command.
TEST_F(PanelAbout, MinimiseAndRestoreKeepTheirEffect) {
    driver.sysCommand(SC_MINIMIZE);
    EXPECT_TRUE(IsIconic(driver.panel()));
    EXPECT_EQ(driver.dialogOverPanel(), nullptr);
    driver.sysCommand(SC_RESTORE);
    EXPECT_FALSE(IsIconic(driver.panel()));
    EXPECT_TRUE(driver.running());
}

TEST_F(PanelAbout, ShowsTheVersionLineInFullAndThePanelsIcon) {
    const HWND box = openAboutBox();
    ASSERT_NE(box, nullptr);
    const HWND picture = GetWindow(box, GW_CHILD);
    const HWND line = GetWindow(picture, GW_HWNDNEXT);
    ASSERT_NE(line, nullptr);

    HICON panelIcon = nullptr;
    driver.onPanel([&](MainPanel& panel) { panelIcon = panel.iconHandle; });
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(picture, STM_GETICON, 0, 0)), panelIcon);

    const std::wstring text = windowText(line);
    EXPECT_EQ(text.rfind(aboutLine, 0), 0u);
    const HDC context = GetDC(line);
    SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &extent);
    ReleaseDC(line, context);
    RECT room;
    GetClientRect(line, &room);
    EXPECT_LE(extent.cx, room.right) << "the line is cut off: " << extent.cx << " pixels";
    EXPECT_LE(extent.cy, room.bottom);
}

TEST_F(PanelAbout, DragIconIsThePanelsIcon) {
    HICON panelIcon = nullptr;
    driver.onPanel([&](MainPanel& panel) { panelIcon = panel.iconHandle; });
    ASSERT_NE(panelIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(driver.panel(), WM_QUERYDRAGICON, 0, 0)),
              panelIcon);
}

TEST_F(PanelAbout, EnterAndEscapeDoNothingInTheBox) {
    const HWND box = openAboutBox();
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(driver.focusedWindow(), GetDlgItem(box, IDOK));
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        driver.postKey(WM_KEYDOWN, key);
        driver.postKey(WM_KEYUP, key);
        EXPECT_TRUE(IsWindowVisible(box)) << "key " << key;
        EXPECT_EQ(driver.dialogOverPanel(), box);
        EXPECT_FALSE(IsWindowEnabled(driver.panel()));
    }
}

struct CloseWay {
    const char* name;
    void (*close)(PanelDriver& driver, HWND box);
};

class ClosingTheBox : public PanelAbout, public ::testing::WithParamInterface<CloseWay> {};

TEST_P(ClosingTheBox, EndsItAndFreesThePanel) {
    const HWND box = openAboutBox();
    ASSERT_NE(box, nullptr);
    GetParam().close(driver, box);
    expectClosed(box);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingTheBox,
    ::testing::Values(
        CloseWay{
            "OkClicked",
            [](PanelDriver&, HWND box) { PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); }},
        CloseWay{"SpaceOnOk",
                 [](PanelDriver& d, HWND) {
                     d.postKey(WM_KEYDOWN, VK_SPACE);
                     d.postKey(WM_KEYUP, VK_SPACE);
                 }},
        CloseWay{"CloseButton",
                 [](PanelDriver&, HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        CloseWay{"AltF4", [](PanelDriver& d, HWND) { d.postKey(WM_SYSKEYDOWN, VK_F4); }}),
    [](const ::testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });

}  // namespace
