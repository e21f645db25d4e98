// The port classes over pseudo-terminals: opens, immediate reads, bounded
// writes, exclusivity and descriptor hygiene, also of the device link.

#include "device_link.h"
#include "line_settings_posix.h"
#include "probe_port.h"
#include "pseudo_terminal.h"
#include "serial_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

long msSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class PortTest : public ::testing::Test {
protected:
    PortFolder folder;
    PseudoTerminal com1{folder.path(), 1};
    PseudoTerminal com2{folder.path(), 2};
};

TEST_F(PortTest, CloseIsHarmlessOnNewAndClosedObjects) {
    SerialPort port;
    ProbePort probe;
    EXPECT_EQ(port.close(), 1);
    EXPECT_EQ(probe.close(), 1);
    ASSERT_EQ(port.open(1, 9600), 1);
    ASSERT_EQ(probe.open(2, 9600), 1);
    EXPECT_EQ(port.close(), 1);
    EXPECT_EQ(port.close(), 1);
    EXPECT_EQ(probe.close(), 1);
    EXPECT_EQ(probe.close(), 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(probe.isOpen());
}

TEST_F(PortTest, TransfersOnAClosedPortMoveNothing) {
    SerialPort port;
    char buffer[4] = {'a', 'b', 'c', 'd'};
    com1.writeToPort("xy");
    EXPECT_EQ(port.writeBytes(buffer, 4, 100), 0u);
    EXPECT_EQ(port.readBytes(buffer, 4, 100), 0u);
    EXPECT_EQ(com1.readFromPort(1, 50), "");
}

TEST_F(PortTest, ReadsReturnAtOnceWithWhatHasArrived) {
    SerialPort port;
    ASSERT_EQ(port.open(1, 9600), 1);
    char buffer[8] = {};

    const Clock::time_point start = Clock::now();
    EXPECT_EQ(port.readBytes(buffer, 7, 2000), 0u);
    EXPECT_LT(msSince(start), 1000) << "an empty read must not wait for its time limit";

    com1.writeToPort("abc");
    EXPECT_EQ(port.readBytes(buffer, 7, 2000), 3u);
    EXPECT_EQ(std::string(buffer, 3), "abc");

    com1.writeToPort("0123456789");
    EXPECT_EQ(port.readBytes(buffer, 7, 2000), 7u);
    EXPECT_EQ(std::string(buffer, 7), "0123456");
    EXPECT_EQ(port.readBytes(buffer, 7, 2000), 3u) << "the surplus waits for the next read";
    EXPECT_EQ(std::string(buffer, 3), "789");
}

TEST_F(PortTest, BytesPassUntranslatedBothWays) {
    SerialPort port;
    ASSERT_EQ(port.open(1, 9600), 1);
    const std::string awkward("\r\n\x03\x04\x11\x13\x7f\xff\0", 9);
    EXPECT_EQ(port.writeBytes(awkward.data(), 9, 1000), 9u);
    EXPECT_EQ(com1.readFromPort(9), awkward);
    com1.writeToPort(awkward);
    char buffer[16] = {};
    EXPECT_EQ(port.readBytes(buffer, 16, 100), 9u);
    EXPECT_EQ(std::string(buffer, 9), awkward);
}

TEST_F(PortTest, AnOpenStartsWithAnEmptyInputQueue) {
    com1.writeToPort("stale reply");
    SerialPort port;
    ASSERT_EQ(port.open(1, 9600), 1);
    char buffer[16];
    EXPECT_EQ(port.readBytes(buffer, 16, 100), 0u);
}

TEST_F(PortTest, ReopenOnAnotherNumberClosesTheFirst) {
    SerialPort port;
    SerialPort other;
    ASSERT_EQ(port.open(1, 9600), 1);
    ASSERT_EQ(port.open(2, 9600), 1);
    EXPECT_EQ(other.open(1, 9600), 1) << "port 1 must have been released";
    other.close();

    EXPECT_EQ(port.open(7, 9600), 0) << "no COM7 exists";
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(other.open(2, 9600), 1) << "a failed reopen leaves no port open";
}

TEST_F(PortTest, ProbeReopenKeepsTheFirstPort) {
    PortProbe probe;
    ASSERT_EQ(probe.open(1), 1);
    EXPECT_EQ(probe.open(2), 1);
    SerialPort port;
    EXPECT_EQ(port.open(2, 9600), 1) << "the probe must not have moved to port 2";
    EXPECT_EQ(port.open(1, 9600), 0) << "the probe still holds port 1";
}

TEST_F(PortTest, OpensAreExclusiveAcrossObjects) {
    struct Holder {
        const char* name;
        bool serial;
    };
    for (const Holder holder : {Holder{"serial port", true}, Holder{"probe", false}}) {
        SerialPort heldPort;
        PortProbe heldProbe;
        ASSERT_EQ(holder.serial ? heldPort.open(1, 9600) : heldProbe.open(1), 1) << holder.name;
        SerialPort port;
        PortProbe probe;
        EXPECT_EQ(port.open(1, 9600), 0) << holder.name << " holds the port";
        EXPECT_EQ(probe.open(1), 0) << holder.name << " holds the port";
        heldPort.close();
        heldProbe.close();
        EXPECT_EQ(probe.open(1), 1) << holder.name << " released the port";
    }
}

TEST_F(PortTest, OpensAreExclusiveAcrossProcesses) {
    SerialPort port;
    ASSERT_EQ(port.open(1, 9600), 1);
    const pid_t child = fork();
    if (child == 0) {
        SerialPort mine;
        PortProbe probe;
        _exit(mine.open(1, 9600) == 0 && probe.open(1) == 0 ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "another process opened a port this one holds";
}

TEST_F(PortTest, OpensSetTheRateAndRawModeAndKeepTheLineSettings) {
    // A pseudo-terminal always runs 8 data bits without parity; the other
    // settings show what an open keeps.
    const int line = ::open(com1.slavePath().c_str(), O_RDWR | O_NOCTTY);
    termios settings{};
    tcgetattr(line, &settings);
    settings.c_cflag |= CSTOPB;
    settings.c_iflag |= IXON | IXOFF;
    settings.c_lflag |= ICANON | ECHO;
    settings.c_oflag |= OPOST;
    tcsetattr(line, TCSANOW, &settings);

    for (const bool probing : {false, true}) {
        SerialPort port;
        PortProbe probe;
        ASSERT_EQ(probing ? probe.open(1) : port.open(1, 9600), 1);
        tcgetattr(line, &settings);
        EXPECT_TRUE(settings.c_cflag & CSTOPB) << probing;
        EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF))
            << probing;
        EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B9600)) << probing;
        EXPECT_FALSE(settings.c_lflag & (ICANON | ECHO)) << probing;
        EXPECT_FALSE(settings.c_oflag & OPOST) << probing;
    }
    ::close(line);
}

TEST(LineSettings, OnlyTheProbeForcesEightDataBits) {
    for (const bool eightDataBits : {false, true}) {
        termios settings{};
        settings.c_cflag = CS7 | PARENB | PARODD | CSTOPB | CRTSCTS;
        settings.c_iflag = INPCK | IXON | ICRNL;
        makeRaw(settings, B9600, eightDataBits);
        EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(eightDataBits ? CS8 : CS7));
        EXPECT_EQ(settings.c_cflag & (PARENB | PARODD | CSTOPB | CRTSCTS),
                  static_cast<tcflag_t>(PARENB | PARODD | CSTOPB | CRTSCTS));
        EXPECT_EQ(settings.c_iflag, static_cast<tcflag_t>(INPCK | IXON));
        EXPECT_EQ(cfgetispeed(&settings), static_cast<speed_t>(B9600));
    }
}

TEST_F(PortTest, UnsupportedRateFailsAndLeavesThePortFree) {
    SerialPort port;
    ProbePort probe;
    EXPECT_EQ(port.open(1, 12345), 0);
    EXPECT_EQ(probe.open(1, 12345), 0);
    EXPECT_EQ(port.open(1, 9600), 1);
}

TEST_F(PortTest, AWriteTheLineNeverTakesEndsWithinItsLimit) {
    SerialPort port;
    ASSERT_EQ(port.open(1, 9600), 1);
    // Nobody reads the far end, so the line's buffers fill and stay full.
    static char block[1 << 20];
    const Clock::time_point start = Clock::now();
    const std::uint32_t written = port.writeBytes(block, sizeof block, 300);
    const long took = msSince(start);
    EXPECT_LT(written, sizeof block);
    EXPECT_GE(took, 250);
    EXPECT_LT(took, 3000);
    const Clock::time_point closing = Clock::now();
    EXPECT_EQ(port.close(), 1);
    EXPECT_LT(msSince(closing), 1000) << "a close must not wait for output the line refused";
}

// Skips the device's answer time, so that a thousand commands stay quick.
class NoWaitLink : public DeviceLink {
protected:
    void waitForReply(std::uint32_t) override {}
};

TEST_F(PortTest, NoDescriptorOutlivesAThousandSequences) {
    static char block[1 << 18];
    const int before = openDescriptorCount();
    for (int round = 0; round < 1000; ++round) {
        SCOPED_TRACE(round);
        SerialPort port;
        PortProbe probe;
        char buffer[8];
        ASSERT_EQ(port.open(1, 9600), 1);
        ASSERT_EQ(port.writeBytes("abc", 3, 100), 3u);
        ASSERT_EQ(port.readBytes(buffer, 8, 100), 0u);
        // Every tenth round the far end stops reading until the round ends:
        // the write times out at its short limit.
        if (round % 10 == 0) {
            ASSERT_LT(port.writeBytes(block, sizeof block, 20), sizeof block);
        }
        ASSERT_EQ(port.open(2, 12345), 0) << "unsupported rate";
        ASSERT_EQ(port.open(2, 9600), 1);
        ASSERT_EQ(port.open(6, 9600), 0) << "missing port";
        ASSERT_EQ(probe.open(1), 1);
        ASSERT_EQ(probe.open(2), 1);
        SerialPort blocked;
        ASSERT_EQ(blocked.open(1, 9600), 0) << "busy port";
        probe.close();
        port.close();
        // The far end catches up, so the next round's writes go through.
        com1.readFromPort(sizeof block, 0);

        NoWaitLink link;
        ASSERT_EQ(link.open(7), 0) << "missing port";
        ASSERT_EQ(link.open(2), 1);
        std::uint32_t word = 0;
        ASSERT_FALSE(link.readWord(REG_DAC0, word)) << "nobody answers";
        ASSERT_EQ(com2.readFromPort(10).size(), 10u) << "the request went out";
        link.close();
    }
    const int after = openDescriptorCount();
    RecordProperty("descriptorsBefore", before);
    RecordProperty("descriptorsAfter", after);
    EXPECT_EQ(after, before);
}

}  // namespace
