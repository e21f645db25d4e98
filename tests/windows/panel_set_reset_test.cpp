// Set, the hidden Reset, and which port the actions use as the port field
// changes.

#include "panel_action_fixture.h"
#include "progress_recorder.h"
#include "resource_ids.h"

namespace {

using PanelSet = PanelActionTest;

struct SetCase {
    const char* devices;
    const wchar_t* text;
    UINT style;
    const char* traffic;
};

TEST_F(PanelSet, WritesDac0AndReportsTheOutcome) {
    const SetCase cases[] = {
        {"--device 0:dac0=1", L"Writing New Data OK", MB_OK,
         "0:CMD_I*10 0:CMD_WRITE_WORD 0:CMD_H*2"},
        {"--device 0:wrong-echo", L"Writing New Data Failure", failureStyle,
         "0:CMD_I*10 0:CMD_WRITE_WORD*10 0:CMD_H*2"},
    };
    for (const SetCase& c : cases) {
        lines.clear();
        driver.clearBoxes();
        SimProcess& line = device(1, c.devices);
        ProgressRecorder progress(driver);
        driver.setText(IDC_DAC0_FIELD, L"2345");
        driver.click(IDC_SET_BUTTON);

        const CaughtBox box = onlyBox();
        EXPECT_EQ(box.text, c.text) << c.devices;
        EXPECT_EQ(box.title, L"ZKC-Control") << c.devices;
        EXPECT_EQ(box.style, c.style) << c.devices;
        EXPECT_EQ(traffic(line), c.traffic) << c.devices;
        EXPECT_EQ(progress.steps(), "pos 1, pos 0") << c.devices;
        bool sawValue = false;
        for (const std::string& entry : line.logLines()) {
            if (entry.find("CMD_WRITE_WORD reg=0x020B value=2345") != std::string::npos) {
                sawValue = true;
            }
        }
        EXPECT_TRUE(sawValue) << c.devices;
    }
}

TEST_F(PanelSet, ARejectedFieldSendsNothing) {
    SimProcess& line = device(1, "--device 0");
    driver.focus(IDC_DAC0_FIELD);  // as the operator does to type there
    driver.setText(IDC_DAC0_FIELD, L"4096");
    driver.click(IDC_SET_BUTTON);
    EXPECT_EQ(onlyBox().text, L"Please enter an integer between 0 and 4095.");
    EXPECT_EQ(traffic(line), "");
}

TEST_F(PanelSet, ResetSendsTheResetValueToAddressZero) {
    SimProcess& line = device(1, "--device 0");
    driver.onPanel([](MainPanel& panel) { panel.deviceLink.deviceAddress = 5; });
    driver.setText(IDC_RESET_VALUE_FIELD, L"100");
    driver.command(IDC_RESET_BUTTON);

    EXPECT_TRUE(driver.boxes().empty());
    EXPECT_EQ(deviceAddress(), 0);
    EXPECT_EQ(traffic(line), "0:CMD_RESET");
    bool sawValue = false;
    for (const std::string& entry : line.logLines()) {
        if (entry.find("CMD_RESET value=100") != std::string::npos) sawValue = true;
    }
    EXPECT_TRUE(sawValue);
}

TEST_F(PanelSet, ResetWithoutAnAnswerFails) {
    driver.command(IDC_RESET_BUTTON);
    const CaughtBox box = onlyBox();
    EXPECT_EQ(box.text, L"Reset Command Failure");
    EXPECT_EQ(box.title, L"ZKC-PCBControl");
    EXPECT_EQ(box.style, failureStyle);
    EXPECT_EQ(deviceAddress(), 0);

    driver.clearBoxes();
    driver.setText(IDC_RESET_VALUE_FIELD, L"251");
    SimProcess& line = device(1, "--device 0");
    driver.command(IDC_RESET_BUTTON);
    EXPECT_EQ(onlyBox().text, L"Please enter an integer between 0 and 250.");
    EXPECT_EQ(traffic(line), "") << "a rejected reset value is not sent";
}

TEST_F(PanelSet, ATypedPortTakesEffectWhenTheFieldLosesTheFocus) {
    SimProcess& second = device(2, "--device 0:dac0=222");
    driver.setText(IDC_PORT_FIELD, L"2");
    driver.click(IDC_GET_BUTTON);
    EXPECT_TRUE(driver.boxes().empty());
    EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"222");
    EXPECT_EQ(value(&MainPanel::portIndex), 1u);
    EXPECT_NE(traffic(second), "");
}

TEST_F(PanelSet, ASpunPortWaitsForTheFocusToLeave) {
    SimProcess& first = device(1, "--device 0");
    SimProcess& second = device(2, "--device 0");
    driver.focus(IDC_PORT_FIELD);
    driver.clickSpinArrow(true);
    EXPECT_EQ(driver.text(IDC_PORT_FIELD), L"2");
    EXPECT_EQ(value(&MainPanel::portIndex), 0u);

    // A Set raised without moving the focus still writes to the former port.
    driver.command(IDC_SET_BUTTON);
    EXPECT_EQ(traffic(first), "0:CMD_I*10 0:CMD_WRITE_WORD 0:CMD_H*2");
    EXPECT_EQ(traffic(second), "");

    driver.focus(IDC_DAC0_FIELD);
    EXPECT_EQ(value(&MainPanel::portIndex), 1u);
}

TEST_F(PanelSet, AValidationMessageCommitsNoPort) {
    SimProcess& line = device(1, "--device 0");
    driver.setText(IDC_PORT_FIELD, L"3");
    driver.setText(IDC_DAC0_FIELD, L"x");
    ASSERT_EQ(driver.focusedId(), IDC_PORT_FIELD);
    driver.command(IDC_SET_BUTTON);

    EXPECT_EQ(onlyBox().text, L"Please enter a positive integer.");
    EXPECT_EQ(driver.focusedId(), IDC_DAC0_FIELD);
    EXPECT_EQ(value(&MainPanel::portIndex), 0u)
        << "the focus left the port field only for the message";
    EXPECT_EQ(traffic(line), "");
}

}  // namespace
