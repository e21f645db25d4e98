// The port scan that Get offers when the chosen port cannot be opened.

#include "panel_action_fixture.h"
#include "resource_ids.h"

namespace {

using PanelScan = PanelActionTest;

TEST_F(PanelScan, TriesThePortsInOrderAndGoesOnWhereADeviceAnswers) {
    SimProcess& silentLine = device(2, "--device 0:silent");
    SimProcess& line = device(3, "--device 2:dac0=777");
    driver.answerNextBox(IDYES);
    driver.click(IDC_GET_BUTTON);

    EXPECT_EQ(onlyBox().style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(traffic(silentLine), silentPoll(0, 15)) << "COM2 is polled before COM3";
    EXPECT_EQ(driver.text(IDC_PORT_FIELD), L"3");
    EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"777");
    EXPECT_EQ(value(&MainPanel::portIndex), 2u);
    EXPECT_EQ(deviceAddress(), 2);

    driver.clearBoxes();
    driver.setText(IDC_DAC0_FIELD, L"800");
    driver.click(IDC_SET_BUTTON);
    EXPECT_EQ(onlyBox().text, L"Writing New Data OK");
    EXPECT_EQ(traffic(line), silentPoll(0, 1) +
                                 " 2:CMD_I*10 2:CMD_READ_BYTE 2:CMD_I*10 2:CMD_READ_WORD 2:CMD_H*2"
                                 " 2:CMD_I*10 2:CMD_WRITE_WORD 2:CMD_H*2")
        << "the write goes to the port the scan found";
}

TEST_F(PanelScan, NoUsablePortAtAll) {
    driver.answerNextBox(IDYES);
    driver.click(IDC_GET_BUTTON);

    const std::vector<CaughtBox> boxes = driver.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"Not Found COM Port from COM1 to COM9");
    EXPECT_EQ(boxes[1].title, L"ZKC-Control");
    EXPECT_EQ(boxes[1].style, failureStyle);
    EXPECT_EQ(value(&MainPanel::portIndex), 0u);
}

TEST_F(PanelScan, PortsWithoutADeviceAreListedAndTheOperatorsPortStays) {
    SimProcess& first = device(1, "--device 0:silent");
    SimProcess& fourth = device(4, "--device 0:silent");
    driver.setText(IDC_PORT_FIELD, L"2");
    driver.answerNextBox(IDYES);
    driver.click(IDC_GET_BUTTON);

    const std::vector<CaughtBox> boxes = driver.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"Found 2 COM Ports:\nCOM 1 COM 4 \nbut ZKC is not Connected");
    EXPECT_EQ(boxes[1].style, failureStyle);
    EXPECT_EQ(value(&MainPanel::portIndex), 1u) << "back to the port the operator chose";
    EXPECT_EQ(driver.text(IDC_PORT_FIELD), L"2");

    // A Set now opens COM2 again, never a port that was only scanned.
    const std::string firstBefore = traffic(first);
    const std::string fourthBefore = traffic(fourth);
    driver.clearBoxes();
    driver.click(IDC_SET_BUTTON);
    EXPECT_EQ(onlyBox().text, L"Writing New Data Failure");
    EXPECT_EQ(traffic(first), firstBefore);
    EXPECT_EQ(traffic(fourth), fourthBefore);
}

}  // namespace
