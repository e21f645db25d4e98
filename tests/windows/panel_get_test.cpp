// Get: discovery of the device's address, the read of DAC0, and what the
// operator and the line see on the way.

#include "panel_action_fixture.h"
#include "progress_recorder.h"
#include "resource_ids.h"

namespace {

using PanelGet = PanelActionTest;

TEST_F(PanelGet, FindsTheDeviceAtAddressFiveAndReadsDac0) {
    SimProcess& line = device(1, "--device 5:dac0=1234");
    ProgressRecorder progress(driver);
    driver.click(IDC_GET_BUTTON);

    EXPECT_TRUE(driver.boxes().empty());
    EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"1234");
    EXPECT_EQ(driver.text(IDC_PORT_FIELD), L"1");
    EXPECT_EQ(deviceAddress(), 5);
    EXPECT_EQ(progress.steps(),
              "range 0-15, pos 0, pos 0, pos 1, pos 2, pos 3, pos 4, pos 5, "
              "range 0-1, pos 0, pos 1, pos 0");
    EXPECT_EQ(traffic(line), silentPoll(0, 4) +
                                 " 5:CMD_I*10 5:CMD_READ_BYTE"
                                 " 5:CMD_I*10 5:CMD_READ_WORD 5:CMD_H*2");
}

struct FoundCase {
    const char* devices;
    const wchar_t* dac0;
    int address;
    const char* traffic;
};

TEST_F(PanelGet, TakesTheFirstAddressThatAnswers) {
    const FoundCase cases[] = {
        {"--device 0:dac0=500", L"500", 0,
         "0:CMD_I*10 0:CMD_READ_BYTE 0:CMD_I*10 0:CMD_READ_WORD 0:CMD_H*2"},
        {"--device 3:dac0=300 --device 9:dac0=900", L"300", 3, nullptr},
        {"--device 0:dac0=42,fail-byte=9", L"42", 0,
         "0:CMD_I*10 0:CMD_READ_BYTE*10 0:CMD_I*10 0:CMD_READ_WORD 0:CMD_H*2"},
        {"--device 0:dac0=5000", L"5000", 0, nullptr},
    };
    for (const FoundCase& c : cases) {
        lines.clear();
        driver.clearBoxes();
        SimProcess& line = device(1, c.devices);
        driver.click(IDC_GET_BUTTON);
        EXPECT_TRUE(driver.boxes().empty()) << c.devices;
        EXPECT_EQ(driver.text(IDC_DAC0_FIELD), c.dac0) << c.devices;
        EXPECT_EQ(deviceAddress(), c.address) << c.devices;
        if (c.traffic != nullptr) {
            EXPECT_EQ(traffic(line), c.traffic) << c.devices;
        }
        const ProgressState bar = driver.progress();
        EXPECT_EQ(bar.highest, 1) << c.devices;
        EXPECT_EQ(bar.position, 0) << c.devices;
    }
}

TEST_F(PanelGet, AWordAbove4095IsShownAsReadAndRefusedByTheNextExchange) {
    device(1, "--device 0:dac0=65535");
    driver.click(IDC_GET_BUTTON);
    EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"65535");
    EXPECT_FALSE(driver.updateData(true));
    EXPECT_EQ(onlyBox().text, L"Please enter an integer between 0 and 4095.");
}

TEST_F(PanelGet, EveryReadTryFailingKeepsTheFieldAndStillSendsTheClosingBurst) {
    SimProcess& line = device(1, "--device 0:dac0=900,fail-word=10");
    driver.setText(IDC_DAC0_FIELD, L"77");
    driver.click(IDC_GET_BUTTON);

    const CaughtBox box = onlyBox();
    EXPECT_EQ(box.text, L"Reading Data Failure");
    EXPECT_EQ(box.title, L"ZKC-Control");
    EXPECT_EQ(box.style, failureStyle);
    EXPECT_EQ(box.owner, driver.panel());
    EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"77");
    EXPECT_EQ(traffic(line), "0:CMD_I*10 0:CMD_READ_BYTE 0:CMD_I*10 0:CMD_READ_WORD*10 0:CMD_H*2");
}

TEST_F(PanelGet, NoDeviceOnAnExistingPortNamesThePortAndLeavesAddress15) {
    SimProcess& line = device(1, "--device 0:silent");
    driver.click(IDC_GET_BUTTON);

    const CaughtBox box = onlyBox();
    EXPECT_EQ(box.text, L"ZKC is not Connected\nto COM Port 1");
    EXPECT_EQ(box.title, L"ZKC-Control");
    EXPECT_EQ(box.style, failureStyle);
    const ProgressState bar = driver.progress();
    EXPECT_EQ(bar.highest, 15);
    EXPECT_EQ(bar.position, 15);
    EXPECT_EQ(deviceAddress(), 15);

    // Set goes on at the address discovery left.
    driver.clearBoxes();
    driver.click(IDC_SET_BUTTON);
    EXPECT_EQ(onlyBox().text, L"Writing New Data Failure");
    EXPECT_EQ(traffic(line), silentPoll(0, 15) + " 15:CMD_I*10 15:CMD_WRITE_WORD*10 15:CMD_H*2");
}

TEST_F(PanelGet, AMissingPortAnsweredNoChangesNothing) {
    ProgressRecorder progress(driver);
    driver.answerNextBox(IDNO);
    driver.click(IDC_GET_BUTTON);

    const CaughtBox box = onlyBox();
    EXPECT_EQ(box.text,
              L"Invalid or Busy COM Port Selected!\nWould you Like to Find COM Port\n"
              L"from COM1 to COM9?");
    EXPECT_EQ(box.title, L"ZKC-Control");
    EXPECT_EQ(box.style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(progress.steps(), "");
    EXPECT_EQ(value(&MainPanel::portIndex), 0u);
    EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"0");
}

}  // namespace
