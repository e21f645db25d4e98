// The KERNEL32 port backend and the device link under Wine, against a
// simulated device linked as COM1.

#include "device_link.h"
#include "probe_port.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

namespace {

class WineLinkTest : public ::testing::Test {
protected:
    void startDevice(const std::string& args) {
        sim.reset(new SimProcess(1, args));
        ASSERT_TRUE(sim->ready()) << "zkc-sim did not come up";
    }
    std::unique_ptr<SimProcess> sim;
};

TEST_F(WineLinkTest, BothOpensReachAnExistingPortOnly) {
    startDevice("--device 0");
    SerialPort port;
    PortProbe probe;
    EXPECT_EQ(port.open(1, 9600), 1) << "\\\\.\\COM1";
    port.close();
    EXPECT_EQ(probe.open(1), 1) << "COM1";
    probe.close();
    EXPECT_EQ(port.open(2, 9600), 0) << "COM2 has no link";
    EXPECT_EQ(probe.open(2), 0) << "COM2 has no link";
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(probe.isOpen());
}

TEST_F(WineLinkTest, AnEmptyReadReturnsAtOnce) {
    startDevice("--device 0");
    SerialPort port;
    ASSERT_EQ(port.open(1, 9600), 1);
    char buffer[7];
    const DWORD start = GetTickCount();
    EXPECT_EQ(port.readBytes(buffer, sizeof buffer, 2000), 0u);
    EXPECT_LT(GetTickCount() - start, 1000u) << "the read waited for its time limit";
}

TEST_F(WineLinkTest, PartialReadsLeaveTheRestQueued) {
    startDevice("--device 0:dac0=500");
    DeviceLink link;
    ASSERT_EQ(link.open(1), 1);
    const std::uint8_t request[] = {CMD_READ_WORD, REG_DAC0 >> 8, REG_DAC0 & 0xFF};
    link.sendFrame(request, sizeof request);
    Sleep(readWordWaitMs);
    char reply[16] = {};
    ASSERT_EQ(link.readBytes(reply, 3, 2000), 3u);
    EXPECT_EQ(std::string(reply, 3), "\"01");
    ASSERT_EQ(link.readBytes(reply, 16, 2000), 4u);
    EXPECT_EQ(std::string(reply, 3), "F4#");
}

TEST_F(WineLinkTest, WordCommandsReachTheDevice) {
    startDevice("--device 5:dac0=500");
    DeviceLink link;
    link.deviceAddress = 5;
    ASSERT_EQ(link.open(1), 1);
    std::uint32_t word = 0;
    ASSERT_TRUE(link.readWord(REG_DAC0, word));
    EXPECT_EQ(word, 500u);
    EXPECT_TRUE(link.writeWord(REG_DAC0, 4095));
    ASSERT_TRUE(link.readWord(REG_DAC0, word));
    EXPECT_EQ(word, 4095u);
    std::uint8_t probe = 0;
    EXPECT_TRUE(link.readByte(REG_PROBE, probe));

    link.deviceAddress = 4;
    word = 77;
    EXPECT_FALSE(link.readWord(REG_DAC0, word)) << "no device at address 4";
    EXPECT_EQ(word, 77u);
    EXPECT_EQ(link.sendReset(24, 100), 0xFFFFu);
    link.close();

    bool sawWrite = false;
    for (const std::string& line : sim->logLines()) {
        if (line.find("rx addr=5 CMD_WRITE_WORD reg=0x020B value=4095") != std::string::npos) {
            sawWrite = true;
        }
    }
    EXPECT_TRUE(sawWrite) << "the simulator did not log the write";
}

TEST_F(WineLinkTest, AWriteTheLineNeverTakesEndsWithinItsLimit) {
    // The far end stops reading, so the line's buffers fill and stay full.
    startDevice("--deaf --device 0");
    SerialPort port;
    ASSERT_EQ(port.open(1, 9600), 1);
    static char block[1 << 20];
    const DWORD start = GetTickCount();
    const std::uint32_t written = port.writeBytes(block, sizeof block, 300);
    const DWORD took = GetTickCount() - start;
    EXPECT_LT(written, sizeof block);
    EXPECT_GE(took, 250u);
    EXPECT_LT(took, 3000u);
    const DWORD closing = GetTickCount();
    EXPECT_EQ(port.close(), 1);
    EXPECT_LT(GetTickCount() - closing, 1000u) << "a close must not wait for refused output";
}

}  // namespace
