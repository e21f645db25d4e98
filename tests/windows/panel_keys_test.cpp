// Keys and commands that reach the main panel: the key filter, closing, and
// the up-down control.

#include "panel_driver.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr LPARAM heldDown = LPARAM{1} << 30;  // previous key state: a repeat

class PanelKeys : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(driver.start()); }
    PanelDriver driver;
};

struct FilteredKey {
    int focus;
    WPARAM key;
    LPARAM flags;
};

class DroppedKey : public PanelKeys, public ::testing::WithParamInterface<FilteredKey> {};

// With valid fields, an Enter that reached the dialog would end it through
// Exit, and an Escape through Cancel.
TEST_P(DroppedKey, DoesNothing) {
    const FilteredKey& k = GetParam();
    driver.setText(IDC_DAC0_FIELD, L"12");
    driver.focus(k.focus);
    driver.postKey(WM_KEYDOWN, k.key, k.flags);
    driver.postKey(WM_KEYUP, k.key);
    EXPECT_TRUE(driver.running());
    EXPECT_TRUE(driver.boxes().empty());
    EXPECT_EQ(driver.focusedId(), k.focus);
    EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"12");
    EXPECT_EQ(driver.text(IDC_PORT_FIELD), L"1");
}

INSTANTIATE_TEST_SUITE_P(EnterEscapeAndF1, DroppedKey,
                         ::testing::Values(FilteredKey{IDC_PORT_FIELD, VK_RETURN, 0},
                                           FilteredKey{IDC_PORT_FIELD, VK_ESCAPE, 0},
                                           FilteredKey{IDC_DAC0_FIELD, VK_RETURN, 0},
                                           FilteredKey{IDC_DAC0_FIELD, VK_ESCAPE, 0},
                                           FilteredKey{IDC_DAC0_FIELD, VK_RETURN, heldDown},
                                           FilteredKey{IDC_GET_BUTTON, VK_RETURN, 0},
                                           FilteredKey{IDC_SET_BUTTON, VK_ESCAPE, 0},
                                           FilteredKey{IDOK, VK_RETURN, 0},
                                           FilteredKey{IDOK, VK_ESCAPE, 0},
                                           FilteredKey{IDOK, VK_RETURN, heldDown},
                                           FilteredKey{IDC_PORT_FIELD, VK_F1, 0}));

TEST_F(PanelKeys, SpaceOnTheFocusedExitButtonPressesIt) {
    driver.focus(IDOK);
    driver.postKey(WM_KEYDOWN, VK_SPACE);
    driver.postKey(WM_KEYUP, VK_SPACE);
    ASSERT_TRUE(driver.waitForEnd());
    EXPECT_EQ(driver.result(), IDOK);
}

struct CloseWay {
    const char* name;
    void (*close)(PanelDriver&);
};

class ClosingWithInvalidText : public PanelKeys, public ::testing::WithParamInterface<CloseWay> {};

TEST_P(ClosingWithInvalidText, EndsAtOnceWithCancel) {
    // The port field keeps the focus, so the closing window takes it away:
    // that must not commit, or validate, anything.
    driver.setText(IDC_PORT_FIELD, L"x");
    driver.setText(IDC_DAC0_FIELD, L"4096");
    ASSERT_EQ(driver.focusedId(), IDC_PORT_FIELD);
    GetParam().close(driver);
    ASSERT_TRUE(driver.waitForEnd());
    EXPECT_EQ(driver.result(), IDCANCEL);
    EXPECT_TRUE(driver.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingWithInvalidText,
    ::testing::Values(CloseWay{"AltF4", [](PanelDriver& d) { d.postKey(WM_SYSKEYDOWN, VK_F4); }},
                      CloseWay{"CloseButton", [](PanelDriver& d) { d.sysCommand(SC_CLOSE); }},
                      CloseWay{"WindowClose",
                               [](PanelDriver& d) { PostMessageW(d.panel(), WM_CLOSE, 0, 0); }}),
    [](const ::testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });

struct SpinCase {
    const char* name;
    const wchar_t* start;
    bool up;
    bool byKey;
    const wchar_t* afterFirst;
    const wchar_t* afterSecond;
};

class PortSpin : public PanelKeys, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(PortSpin, StopsAtTheEndsAndChangesOnlyTheText) {
    const SpinCase& c = GetParam();
    driver.setText(IDC_PORT_FIELD, c.start);
    driver.focus(IDC_PORT_FIELD);
    const wchar_t* expected[] = {c.afterFirst, c.afterSecond};
    for (const wchar_t* text : expected) {
        if (c.byKey) {
            driver.postKey(WM_KEYDOWN, c.up ? VK_UP : VK_DOWN);
            driver.postKey(WM_KEYUP, c.up ? VK_UP : VK_DOWN);
        } else {
            driver.clickSpinArrow(c.up);
        }
        EXPECT_EQ(driver.text(IDC_PORT_FIELD), text);
    }
    driver.onPanel([](MainPanel& panel) {
        EXPECT_EQ(panel.portNumber, 1u);
        EXPECT_EQ(panel.portIndex, 0u);
    });
    EXPECT_TRUE(driver.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, PortSpin,
    ::testing::Values(SpinCase{"KeyUpToNine", L"8", true, true, L"9", L"9"},
                      SpinCase{"KeyDownToOne", L"2", false, true, L"1", L"1"},
                      SpinCase{"ArrowUpToNine", L"8", true, false, L"9", L"9"},
                      SpinCase{"ArrowDownToOne", L"2", false, false, L"1", L"1"},
                      SpinCase{"KeyUpFromOne", L"1", true, true, L"2", L"3"}),
    [](const ::testing::TestParamInfo<SpinCase>& info) { return std::string(info.param.name); });

}  // namespace
