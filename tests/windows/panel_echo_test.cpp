// The panel on a line whose adapter hands every byte it sends straight back,
// ahead of the device's reply, as many two-wire RS-485 adapters do.

#include "panel_action_fixture.h"
#include "resource_ids.h"

namespace {

using PanelEcho = PanelActionTest;

constexpr const char* echoingLine = "--echo --pace ";

bool logHas(const SimProcess& line, const std::string& text) {
    for (const std::string& entry : line.settledLogLines()) {
        if (entry.find(text) != std::string::npos) return true;
    }
    return false;
}

TEST_F(PanelEcho, GetFindsTheRealAddressAndSetStoresTheValue) {
    SimProcess& line = device(1, std::string(echoingLine) + "--device 5:dac0=1234");
    driver.click(IDC_GET_BUTTON);

    EXPECT_TRUE(driver.boxes().empty());
    EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"1234");
    EXPECT_EQ(deviceAddress(), 5);
    EXPECT_EQ(traffic(line), silentPoll(0, 4) +
                                 " 5:CMD_I*10 5:CMD_READ_BYTE"
                                 " 5:CMD_I*10 5:CMD_READ_WORD 5:CMD_H*2");

    driver.setText(IDC_DAC0_FIELD, L"2345");
    driver.click(IDC_SET_BUTTON);
    const CaughtBox box = onlyBox();
    EXPECT_EQ(box.text, L"Writing New Data OK");
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
    // The device answers a write with the word it has stored.
    EXPECT_TRUE(logHas(line, "rx addr=5 CMD_WRITE_WORD reg=0x020B value=2345 "));
    EXPECT_TRUE(logHas(line, "tx addr=5 word=2345 "));
    EXPECT_TRUE(logHas(line, "tx echo frame=15 22 31 33 30 32 30 42 30 39 32 39 23 F1"));
}

TEST_F(PanelEcho, ResetGetsItsEcho) {
    SimProcess& line = device(1, std::string(echoingLine) + "--device 0");
    driver.setText(IDC_RESET_VALUE_FIELD, L"100");
    driver.command(IDC_RESET_BUTTON);
    EXPECT_TRUE(driver.boxes().empty());
    EXPECT_EQ(traffic(line), "0:CMD_RESET");
}

TEST_F(PanelEcho, ALineWithoutADeviceIsNotConnected) {
    SimProcess& line = device(1, std::string(echoingLine) + "--device 0:silent");
    driver.click(IDC_GET_BUTTON);
    const CaughtBox box = onlyBox();
    EXPECT_EQ(box.text, L"ZKC is not Connected\nto COM Port 1");
    EXPECT_EQ(box.style, failureStyle);
    EXPECT_EQ(traffic(line), silentPoll(0, 15));
}

}  // namespace
