#pragma once

#include "line_traffic.h"
#include "panel_driver.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A running panel and the simulated devices on its ports.
class PanelActionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(driver.start()); }

    SimProcess& device(int comNumber, const std::string& args) {
        lines.push_back(std::make_unique<SimProcess>(comNumber, args));
        EXPECT_TRUE(lines.back()->ready()) << "zkc-sim on COM" << comNumber;
        return *lines.back();
    }

    // The requests a line has seen, once the last of them has arrived.
    static std::string traffic(const SimProcess& line) {
        return requestSummary(line.settledLogLines());
    }

    template <typename T>
    T value(T MainPanel::*member) {
        T result{};
        driver.onPanel([&](MainPanel& panel) { result = panel.*member; });
        return result;
    }

    int deviceAddress() {
        int address = -1;
        driver.onPanel([&](MainPanel& panel) { address = panel.deviceLink.deviceAddress; });
        return address;
    }

    // The only box the action showed.
    CaughtBox onlyBox() {
        const std::vector<CaughtBox> boxes = driver.boxes();
        EXPECT_EQ(boxes.size(), 1u);
        return boxes.empty() ? CaughtBox{} : boxes.front();
    }

    std::vector<std::unique_ptr<SimProcess>> lines;
    PanelDriver driver;
};

inline constexpr UINT failureStyle = MB_OK | MB_ICONEXCLAMATION;
