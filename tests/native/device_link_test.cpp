// The six device commands over a pseudo-terminal whose far end plays
// scripted replies: the frames sent, the waits, and how each reply counts.

#include "device_link.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the waits instead of sleeping them; the reply is already queued.
class QuickLink : public DeviceLink {
public:
    std::vector<std::uint32_t> waits;

protected:
    void waitForReply(std::uint32_t ms) override { waits.push_back(ms); }
};

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

const std::string word500 = bytes({0x22, 0x30, 0x31, 0x46, 0x34, 0x23, 0xF2});
const std::string oneByteReply = bytes({0x22, 0x31, 0x32, 0x23, 0x82, 0x33, 0x34});
const std::string shortWordReply = bytes({0x22, 0x30, 0x31, 0x46, 0x34, 0x23});

class DeviceLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(link.open(1), 1); }
    // Queues the device's reply, then lets the command run.
    void reply(const std::string& r) { line.writeToPort(r); }
    std::string sent(std::size_t count) { return line.readFromPort(count, 200); }

    PortFolder folder;
    PseudoTerminal line{folder.path(), 1};
    QuickLink link;
};

TEST_F(DeviceLinkTest, OneByteCommandsSendTheirFrameAndReadNothing) {
    link.deviceAddress = 5;
    link.sendI();
    link.sendH();
    EXPECT_EQ(sent(12), bytes({0x15, 0x22, 0x34, 0x39, 0x23, 0x8C, 0x15, 0x22, 0x34, 0x38,
                               0x23, 0x8D}));
    EXPECT_TRUE(link.waits.empty());
}

struct WordCase {
    const char* name;
    std::string reply;
    bool accepted;
    std::uint32_t word;
};

TEST_F(DeviceLinkTest, ReadWordTakesTwoDecodedBytes) {
    const WordCase cases[] = {
        {"bare reply", word500, true, 500},
        {"reply behind an address byte", bytes({0x10, 0x22, 0x30, 0x31, 0x46, 0x34, 0x23}), true,
         500},
        {"six of seven bytes", shortWordReply, false, 7},
        {"one decoded byte", oneByteReply, false, 7},
        {"no reply", "", false, 7},
        {"above 12 bits", bytes({0x22, 0x46, 0x46, 0x46, 0x46, 0x23, 0x81}), true, 0xFFFF},
    };
    for (const WordCase& c : cases) {
        link.open(1);  // a fresh open drops what an earlier case left queued
        reply(c.reply);
        std::uint32_t word = 7;
        EXPECT_EQ(link.readWord(REG_DAC0, word), c.accepted) << c.name;
        EXPECT_EQ(word, c.word) << c.name;
        EXPECT_EQ(sent(10), bytes({0x10, 0x22, 0x31, 0x32, 0x30, 0x32, 0x30, 0x42, 0x23, 0xF2}))
            << c.name;
    }
}

TEST_F(DeviceLinkTest, WriteWordNeedsItsOwnValueEchoed) {
    const WordCase cases[] = {
        {"echo of 500", word500, true, 0},
        {"echo of another word", bytes({0x22, 0x30, 0x31, 0x46, 0x35, 0x23, 0xF3}), false, 0},
        {"one decoded byte", oneByteReply, false, 0},
        {"no reply", "", false, 0},
    };
    for (const WordCase& c : cases) {
        link.open(1);
        reply(c.reply);
        EXPECT_EQ(link.writeWord(REG_DAC0, 500), c.accepted) << c.name;
        EXPECT_EQ(sent(14), bytes({0x10, 0x22, 0x31, 0x33, 0x30, 0x32, 0x30, 0x42, 0x30, 0x31,
                                   0x46, 0x34, 0x23, 0x80}))
            << c.name;
    }
}

TEST_F(DeviceLinkTest, ResetReturnsTheEchoOrFFFF) {
    const WordCase cases[] = {
        {"echo", bytes({0x22, 0x30, 0x30, 0x36, 0x34, 0x23, 0x83}), true, 100},
        {"one decoded byte", oneByteReply, false, 0xFFFF},
        {"no reply", "", false, 0xFFFF},
    };
    for (const WordCase& c : cases) {
        link.open(1);
        reply(c.reply);
        EXPECT_EQ(link.sendReset(24, 100), c.word) << c.name;
        EXPECT_EQ(sent(12), bytes({0x10, 0x22, 0x35, 0x37, 0x31, 0x38, 0x30, 0x30, 0x36, 0x34,
                                   0x23, 0x88}))
            << c.name;
    }
}

TEST_F(DeviceLinkTest, ReadByteTakesFiveBytes) {
    link.deviceAddress = 3;
    reply(bytes({0x22, 0x35, 0x41, 0x23, 0xF5}));
    std::uint8_t value = 0;
    EXPECT_TRUE(link.readByte(REG_PROBE, value));
    EXPECT_EQ(value, 0x5A);
    EXPECT_EQ(sent(10), bytes({0x13, 0x22, 0x31, 0x30, 0x30, 0x32, 0x32, 0x46, 0x23, 0xF6}));

    reply(bytes({0x22, 0x35, 0x41, 0x23}));
    value = 9;
    EXPECT_FALSE(link.readByte(REG_PROBE, value));
    EXPECT_EQ(value, 9);
}

TEST_F(DeviceLinkTest, EachCommandWaitsItsOwnTime) {
    std::uint8_t byte;
    std::uint32_t word;
    link.readByte(REG_PROBE, byte);
    link.readWord(REG_DAC0, word);
    link.writeWord(REG_DAC0, 1);
    link.sendReset(24, 0);
    EXPECT_EQ(link.waits, (std::vector<std::uint32_t>{90, 130, 130, 80}));
}

TEST_F(DeviceLinkTest, ACommandOnAClosedPortSendsNothingAndFails) {
    link.close();
    std::uint32_t word = 3;
    EXPECT_FALSE(link.readWord(REG_DAC0, word));
    EXPECT_EQ(word, 3u);
    EXPECT_EQ(link.sendReset(24, 0), 0xFFFFu);
    link.sendI();
    EXPECT_EQ(sent(1), "");
}

}  // namespace
