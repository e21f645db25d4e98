// What a simulated line hands back to the client, and when: replies, and on
// an echoing line every byte the client sent, in one stream.

#include "frame_codec.h"
#include "line_pace.h"
#include "request_frames.h"
#include "simulated_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Arrival {
    double atMs;
    std::uint8_t byte;
};

// Every byte the line sends until it is idle, with the time it went.
std::vector<Arrival> drain(SimulatedLine& line, std::vector<LineRecord>& finished) {
    std::vector<Arrival> arrivals;
    while (const std::optional<double> due = line.nextDueMs()) {
        for (std::uint8_t byte : line.takeDue(*due, finished)) arrivals.push_back({*due, byte});
    }
    return arrivals;
}

Bytes bytesOf(const std::vector<Arrival>& arrivals) {
    Bytes bytes;
    for (const Arrival& a : arrivals) bytes.push_back(a.byte);
    return bytes;
}

DeviceConfig deviceAt(std::uint8_t address, std::uint16_t dac0, std::uint32_t lateMs = 0) {
    DeviceConfig config;
    config.address = address;
    config.registers[REG_DAC0] = dac0;
    config.faults.lateMs = lateMs;
    return config;
}

const Bytes readDac0At5 = requestFrame(5, {CMD_READ_WORD, REG_DAC0 >> 8, REG_DAC0 & 0xFF});
const Bytes reply500 = {0x22, 0x30, 0x31, 0x46, 0x34, 0x23, 0xF2};
constexpr double byteMs = byteTimeAt9600Ms;

TEST(SimulatedLine, TheEchoGoesBackAt9600BaudAndTheReplyFollowsIt) {
    struct Case {
        const char* name;
        bool echo;
        double replyByteTimeMs;
        std::uint32_t lateMs;
        double firstReplyByteMs;
        double lastReplyByteMs;
    };
    const double echoEnd = 10 * byteMs;
    const Case cases[] = {
        {"no echo: the reply when due", false, 0, 0, 0, 0},
        {"echo: the reply whole once the echo has gone", true, 0, 0, echoEnd, echoEnd},
        {"echo and paced replies", true, byteMs, 0, echoEnd + byteMs, echoEnd + 7 * byteMs},
        {"echo and a reply due after it", true, 0, 50, 50, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineSettings settings;
        settings.echo = c.echo;
        settings.replyByteTimeMs = c.replyByteTimeMs;
        SimulatedLine line({deviceAt(5, 500, c.lateMs)}, settings);
        ASSERT_EQ(line.receive(readDac0At5.data(), readDac0At5.size(), 0).size(), 1u);

        std::vector<LineRecord> finished;
        const std::vector<Arrival> arrivals = drain(line, finished);
        Bytes expected = c.echo ? readDac0At5 : Bytes{};
        expected.insert(expected.end(), reply500.begin(), reply500.end());
        ASSERT_EQ(bytesOf(arrivals), expected);
        const std::size_t echoed = c.echo ? readDac0At5.size() : 0;
        for (std::size_t k = 0; k < echoed; ++k) {
            EXPECT_NEAR(arrivals[k].atMs, (k + 1) * byteMs, 1e-9) << "echo byte " << k;
        }
        EXPECT_NEAR(arrivals[echoed].atMs, c.firstReplyByteMs, 1e-9);
        EXPECT_NEAR(arrivals.back().atMs, c.lastReplyByteMs, 1e-9);

        ASSERT_EQ(finished.size(), c.echo ? 2u : 1u);
        if (c.echo) {
            EXPECT_EQ(formatLogLine(finished[0]),
                      "10.417 tx echo frame=15 22 31 32 30 32 30 42 23 F2");
        }
        EXPECT_EQ(finished.back().meaning, "addr=5 word=500");
    }
}

TEST(SimulatedLine, EchoOfLaterBytesQueuesBehindWhatIsOnTheLine) {
    LineSettings settings;
    settings.echo = true;
    SimulatedLine line({deviceAt(5, 500)}, settings);
    const Bytes burstFrame = requestFrame(5, {CMD_I});
    for (int cycle = 0; cycle < 10; ++cycle) {
        line.receive(burstFrame.data(), burstFrame.size(), 0.1 * cycle);
    }
    line.receive(readDac0At5.data(), readDac0At5.size(), 1.0);

    std::vector<LineRecord> finished;
    const std::vector<Arrival> arrivals = drain(line, finished);
    ASSERT_EQ(arrivals.size(), 60u + readDac0At5.size() + reply500.size());
    // The burst's echo takes 60 byte times, so most of it arrives after the
    // client has long reopened the port; the request's echo and the reply
    // come only after it.
    EXPECT_NEAR(arrivals[59].atMs, 60 * byteMs, 1e-9);
    const Bytes bytes = bytesOf(arrivals);
    EXPECT_EQ(Bytes(bytes.begin() + 60, bytes.begin() + 70), readDac0At5);
    EXPECT_EQ(Bytes(bytes.begin() + 70, bytes.end()), reply500);
    EXPECT_NEAR(arrivals.back().atMs, 70 * byteMs, 1e-9);
}

TEST(SimulatedLine, NoDeviceLeavesOnlyTheEcho) {
    LineSettings settings;
    settings.echo = true;
    SimulatedLine line({deviceAt(3, 500)}, settings);
    line.receive(readDac0At5.data(), readDac0At5.size(), 0);
    std::vector<LineRecord> finished;
    EXPECT_EQ(bytesOf(drain(line, finished)), readDac0At5);
}

}  // namespace
