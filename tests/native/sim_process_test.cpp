// The zkc-sim command itself, over a real pseudo-terminal.

#include "child_process.h"
#include "device_link.h"
#include "device_session.h"
#include "frame_codec.h"
#include "named_port.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fcntl.h>
#include <functional>
#include <iterator>
#include <memory>
#include <poll.h>
#include <regex>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Generous bounds that only catch hangs; nothing here measures speed.
constexpr auto hangBound = std::chrono::seconds(10);
constexpr int hangBoundMs =
    static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(hangBound).count());

// Runs zkc-sim with stdout and stderr in files; the test's own temp folder.
class SimProcess : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zkc-sim-test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }

    void TearDown() override {
        sim.reset();
        std::filesystem::remove_all(dir);
    }

    void start(const std::vector<std::string>& args) {
        sim = std::make_unique<ChildProcess>(ZKC_SIM_PATH, args, dir, "zkc-sim");
        ASSERT_TRUE(sim->started());
    }

    int waitForExit() { return sim->waitForExit(hangBoundMs); }
    bool waitFor(const std::function<bool()>& ready) { return waitUntil(hangBoundMs, ready); }

    std::string dir;
    std::unique_ptr<ChildProcess> sim;
};

int openRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return -1;
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

std::vector<std::uint8_t> readCount(int fd, std::size_t count) {
    std::vector<std::uint8_t> got;
    const auto deadline = Clock::now() + hangBound;
    while (got.size() < count && Clock::now() < deadline) {
        pollfd watched = {fd, POLLIN, 0};
        if (poll(&watched, 1, 100) <= 0) continue;
        std::uint8_t buffer[64];
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - got.size()));
        if (n > 0) got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

// Reads the DAC0 word from address 5 the way a client does: -1 on no reply.
long readDac0(int fd) {
    const std::uint8_t payload[] = {CMD_READ_WORD, REG_DAC0 >> 8, REG_DAC0 & 0xFF};
    std::uint8_t frame[frameBufferSize];
    const std::size_t size = codec::encodeFrame(5, payload, sizeof payload, frame);
    if (write(fd, frame, size) != static_cast<ssize_t>(size)) return -1;
    const std::vector<std::uint8_t> reply = readCount(fd, wordReplyLength);
    if (reply.size() != wordReplyLength) return -1;
    std::uint8_t result[wordReplyLength];
    if (codec::decodeReply(reply.data(), reply.size(), result) < 2) return -1;
    return result[0] * 256 + result[1];
}

TEST_F(SimProcess, ServesThroughItsLinkAndLeavesCleanlyOnSigterm) {
    const std::string link = dir + "/com1";
    const std::string log = dir + "/log";
    start({"--link", link, "--log", log, "--device", "5:dac0=500"});
    ASSERT_TRUE(waitFor([&] { return pathExists(link); })) << sim->err();

    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(sim->out(), std::string("zkc-sim: serving ") + target + "\n");

    // Two opens in a row: a client closing the port must not end the service.
    for (int open = 0; open < 2; ++open) {
        SCOPED_TRACE(open);
        const int fd = openRaw(link);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(readDac0(fd), 500);
        close(fd);
    }

    const std::regex rx(R"(\d+\.\d{3} rx addr=5 CMD_READ_WORD reg=0x020B )"
                        R"(frame=15 22 31 32 30 32 30 42 23 F2\n)");
    const std::regex tx(R"(\d+\.\d{3} tx addr=5 word=500 frame=22 30 31 46 34 23 F2\n)");
    ASSERT_TRUE(waitFor([&] {
        const std::string text = fileText(log);
        return std::distance(std::sregex_iterator(text.begin(), text.end(), tx),
                             std::sregex_iterator()) == 2;
    })) << fileText(log);
    const std::string text = fileText(log);
    EXPECT_EQ(
        std::distance(std::sregex_iterator(text.begin(), text.end(), rx), std::sregex_iterator()),
        2)
        << text;

    sim->send(SIGTERM);
    EXPECT_EQ(waitForExit(), 0);
    EXPECT_FALSE(pathExists(link));
}

TEST_F(SimProcess, BadCommandLinesGiveOneLineAndStatus2) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--bogus", "--device", "5"},
        {"--device"},
        {"--device", "16"},
        {"--device", "5:late"},
        {"--device", "5", "--device", "5:dac0=1"},
        {"--reply-form", "loud", "--device", "5"},
        {"--link", dir + "/a", "--tty", "/dev/null", "--device", "5"},
    };
    for (const auto& args : cases) {
        std::string shown;
        for (const std::string& arg : args) shown += arg + " ";
        SCOPED_TRACE(shown);
        start(args);
        EXPECT_EQ(waitForExit(), 2);
        const std::string error = sim->err();
        EXPECT_EQ(error.rfind("zkc-sim: ", 0), 0u) << error;
        EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
    }
}

// The link over an echoing line as the panel drives it: an opening burst,
// then one register command. The burst's echo is still arriving when the
// command's port is opened, and must not pass for an answer.
TEST_F(SimProcess, TheLinkReadsTheDeviceBehindAnEchoingLine) {
    const std::string log = dir + "/log";
    start({"--link", dir + "/com1", "--log", log, "--echo", "--pace", "--device", "5:dac0=1234"});
    ASSERT_TRUE(waitFor([&] { return pathExists(dir + "/com1"); })) << sim->err();
    DeviceLink link;
    PortProbe probe;
    SerialPort spare;
    NamedPort port(dir + "/com1");
    NoProgress progress;
    DeviceSession session(link, probe, spare, port, progress);
    std::uint8_t probeByte = 0;
    link.deviceAddress = 1;
    session.openingBurst();
    port.openLink(link);
    EXPECT_FALSE(link.readByte(REG_PROBE, probeByte)) << "no device at address 1";
    link.close();

    link.deviceAddress = 5;
    session.openingBurst();
    port.openLink(link);
    EXPECT_TRUE(link.readByte(REG_PROBE, probeByte));
    std::uint32_t word = 0;
    EXPECT_TRUE(link.readWord(REG_DAC0, word));
    EXPECT_EQ(word, 1234u);
    EXPECT_TRUE(link.writeWord(REG_DAC0, 2345));
    EXPECT_TRUE(link.readWord(REG_DAC0, word));
    EXPECT_EQ(word, 2345u);
    link.close();

    const std::regex echo(
        R"(\d+\.\d{3} tx echo frame=15 22 31 33 30 32 30 42 30 39 32 39 23 F1\n)");
    EXPECT_TRUE(waitFor([&] {
        const std::string text = fileText(log);
        return std::regex_search(text, echo);
    })) << fileText(log);
}

}  // namespace
