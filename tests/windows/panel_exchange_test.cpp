// The main panel's field exchange: parsing, range checks, the messages and
// where the focus goes after a rejection, and closing with Exit.

#include "panel_driver.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::wstring positive = L"Please enter a positive integer.";
const std::wstring portRange = L"Please enter an integer between 1 and 9.";

// The framework's boxes carry the executable's name.
std::wstring programName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name.erase(0, name.find_last_of(L"\\/") + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

class PanelExchange : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(driver.start()); }

    std::uint32_t value(std::uint32_t MainPanel::*member) {
        std::uint32_t result = 0;
        driver.onPanel([&](MainPanel& panel) { result = panel.*member; });
        return result;
    }

    // One validation box, owned by the panel, with the focus back in the
    // field and its whole text selected.
    void expectRejected(int field, const std::wstring& message) {
        const std::vector<CaughtBox> boxes = driver.boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, message);
        EXPECT_EQ(boxes[0].title, programName());
        EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(boxes[0].owner, driver.panel());
        EXPECT_EQ(driver.focusedId(), field);
        const int length = static_cast<int>(driver.text(field).size());
        EXPECT_EQ(driver.selection(field), std::make_pair(0, length));
    }

    PanelDriver driver;
};

struct PortCase {
    const wchar_t* text;
    const wchar_t* message;  // nullptr when the text is accepted
    std::uint32_t portNumber;
};

class PortFieldText : public PanelExchange, public ::testing::WithParamInterface<PortCase> {};

TEST_P(PortFieldText, IsReadAsTheFieldExchangeSays) {
    // Typed into the port field, then committed by leaving it.
    const PortCase& c = GetParam();
    driver.setText(IDC_PORT_FIELD, c.text);
    driver.focus(IDC_DAC0_FIELD);
    EXPECT_EQ(value(&MainPanel::portNumber), c.portNumber);
    if (c.message) {
        expectRejected(IDC_PORT_FIELD, c.message);
    } else {
        EXPECT_TRUE(driver.boxes().empty());
        EXPECT_EQ(driver.focusedId(), IDC_DAC0_FIELD);
        EXPECT_EQ(value(&MainPanel::portIndex), c.portNumber - 1);
    }
    EXPECT_TRUE(driver.running());
}

const wchar_t fortyDigits[] = L"1234567890123456789012345678901234567890";

INSTANTIATE_TEST_SUITE_P(
    Cases, PortFieldText,
    ::testing::Values(PortCase{L" \t7 \t", nullptr, 7}, PortCase{L"+5", nullptr, 5},
                      PortCase{L"007", nullptr, 7}, PortCase{L"9", nullptr, 9},
                      // Rejected texts leave the former value.
                      PortCase{L"-3", positive.c_str(), 1}, PortCase{L"", positive.c_str(), 1},
                      PortCase{L"abc", positive.c_str(), 1}, PortCase{L"7x", positive.c_str(), 1},
                      PortCase{L"7 7", positive.c_str(), 1}, PortCase{L"0x7", positive.c_str(), 1},
                      PortCase{L"7.0", positive.c_str(), 1}, PortCase{L"+0", positive.c_str(), 1},
                      // Numbers outside the range are stored before they are refused.
                      PortCase{L"0", portRange.c_str(), 0}, PortCase{L"10", portRange.c_str(), 10},
                      PortCase{fortyDigits, portRange.c_str(), 4294967295u}));

TEST_F(PanelExchange, ARejectedFieldLeavesTheLaterFieldsUnread) {
    driver.setText(IDC_TIME_FIELD, L"12");
    driver.setText(IDC_RESET_VALUE_FIELD, L"34");
    driver.setText(IDC_DAC0_FIELD, L"56");
    driver.setText(IDC_PORT_FIELD, L"");
    EXPECT_FALSE(driver.updateData(true));
    expectRejected(IDC_PORT_FIELD, positive);
    EXPECT_EQ(value(&MainPanel::timeValue), 0u);
    EXPECT_EQ(value(&MainPanel::resetValue), 0u);
    EXPECT_EQ(value(&MainPanel::dac0Value), 0u);

    driver.clearBoxes();
    driver.setText(IDC_PORT_FIELD, L"3");
    EXPECT_TRUE(driver.updateData(true));
    EXPECT_TRUE(driver.boxes().empty());
    EXPECT_EQ(value(&MainPanel::portNumber), 3u);
    EXPECT_EQ(value(&MainPanel::timeValue), 12u);
    EXPECT_EQ(value(&MainPanel::resetValue), 34u);
    EXPECT_EQ(value(&MainPanel::dac0Value), 56u);
}

TEST_F(PanelExchange, HiddenFieldsHaveTheirOwnRange) {
    driver.setText(IDC_RESET_VALUE_FIELD, L"251");
    EXPECT_FALSE(driver.updateData(true));
    const std::vector<CaughtBox> boxes = driver.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Please enter an integer between 0 and 250.");
    EXPECT_EQ(value(&MainPanel::resetValue), 251u);
}

TEST_F(PanelExchange, ExitWithDac0AboveRangeStaysOpenWithTheValueStored) {
    driver.focus(IDC_DAC0_FIELD);
    driver.setText(IDC_DAC0_FIELD, L"4096");
    driver.click(IDOK);
    EXPECT_TRUE(driver.running());
    expectRejected(IDC_DAC0_FIELD, L"Please enter an integer between 0 and 4095.");
    EXPECT_EQ(value(&MainPanel::dac0Value), 4096u);
}

TEST_F(PanelExchange, ExitWithAnEmptyPortFieldStaysOpen) {
    // The Exit command without a focus change: a click would first commit
    // the port field, whose own exchange reports the same field.
    driver.setText(IDC_PORT_FIELD, L"");
    driver.setText(IDC_DAC0_FIELD, L"77");
    driver.command(IDOK);
    EXPECT_TRUE(driver.running());
    expectRejected(IDC_PORT_FIELD, positive);
    EXPECT_EQ(value(&MainPanel::dac0Value), 0u);
}

TEST_F(PanelExchange, ExitWithValidFieldsEndsWithOk) {
    driver.setText(IDC_DAC0_FIELD, L"4095");
    driver.click(IDOK);
    ASSERT_TRUE(driver.waitForEnd());
    EXPECT_EQ(driver.result(), IDOK);
    EXPECT_TRUE(driver.boxes().empty());
}

TEST_F(PanelExchange, ValuesAreWrittenOutUncheckedAndUnchanged) {
    driver.onPanel([](MainPanel& panel) {
        panel.portNumber = 0;
        panel.timeValue = 251;
        panel.resetValue = 4294967295u;
        panel.dac0Value = 4096;
    });
    EXPECT_TRUE(driver.updateData(false));
    EXPECT_TRUE(driver.boxes().empty());
    EXPECT_EQ(driver.text(IDC_PORT_FIELD), L"0");
    EXPECT_EQ(driver.text(IDC_TIME_FIELD), L"251");
    EXPECT_EQ(driver.text(IDC_RESET_VALUE_FIELD), L"4294967295");
    EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"4096");
}

}  // namespace
