// The six device commands over a pseudo-terminal whose far end plays
// scripted replies: the frames sent, the waits, and how each reply counts.

#include "device_link.h"
#include "pseudo_terminal.h"
#include "request_frames.h"

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
    EXPECT_EQ(sent(12),
              bytes({0x15, 0x22, 0x34, 0x39, 0x23, 0x8C, 0x15, 0x22, 0x34, 0x38, 0x23, 0x8D}));
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
        EXPECT_EQ(sent(14), bytes({0x10, 0x22, 0x31, 0x33, 0x30, 0x32, 0x30, 0x42, 0x30, 0x31, 0x46,
                                   0x34, 0x23, 0x80}))
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
        EXPECT_EQ(sent(12),
                  bytes({0x10, 0x22, 0x35, 0x37, 0x31, 0x38, 0x30, 0x30, 0x36, 0x34, 0x23, 0x88}))
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
    EXPECT_EQ(link.waits, (std::vector<std::uint32_t>{readByteWaitMs, readWordWaitMs,
                                                      writeWordWaitMs, resetWaitMs}));
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

// The four commands that read a reply, each with the reply its device sends
// when all is well, at address 5.
struct ReplyingCommand {
    const char* name;
    Bytes payload;         // of the request
    std::uint32_t result;  // the word or byte the device answers with
    std::uint8_t replyLength;
};

const ReplyingCommand replyingCommands[] = {
    {"readByte", {CMD_READ_BYTE, REG_PROBE >> 8, REG_PROBE & 0xFF}, 0x5A, byteReplyLength},
    {"readWord", {CMD_READ_WORD, REG_DAC0 >> 8, REG_DAC0 & 0xFF}, 1234, wordReplyLength},
    {"writeWord",
     {CMD_WRITE_WORD, REG_DAC0 >> 8, REG_DAC0 & 0xFF, 2345 >> 8, 2345 & 0xFF},
     2345,
     wordReplyLength},
    {"sendReset", {CMD_RESET, 24, 0, 100}, 100, wordReplyLength},
};

// Runs a command; its result, or -1 when it failed.
long runCommand(DeviceLink& link, const ReplyingCommand& command) {
    std::uint8_t byte = 0;
    std::uint32_t word = 0;
    switch (command.payload[0]) {
        case CMD_READ_BYTE: return link.readByte(REG_PROBE, byte) ? byte : -1;
        case CMD_READ_WORD: return link.readWord(REG_DAC0, word) ? static_cast<long>(word) : -1;
        case CMD_WRITE_WORD: return link.writeWord(REG_DAC0, 2345) ? 2345 : -1;
        default: {
            const std::uint32_t echo = link.sendReset(24, 100);
            return echo == 0xFFFF ? -1 : static_cast<long>(echo);
        }
    }
}

Bytes resultBytes(const ReplyingCommand& command) {
    if (command.replyLength == byteReplyLength) return {static_cast<std::uint8_t>(command.result)};
    return {static_cast<std::uint8_t>(command.result >> 8),
            static_cast<std::uint8_t>(command.result & 0xFF)};
}

// A reply as a device sends it: the request layout with the result as payload.
Bytes deviceReply(const ReplyingCommand& command, bool addressed) {
    const Bytes frame = requestFrame(5, resultBytes(command));
    return addressed ? frame : Bytes(frame.begin() + 1, frame.end());
}

std::string asText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

struct LineCase {
    const char* name;
    // What reaches the port after the request, on a line without echo.
    Bytes (*line)(const ReplyingCommand&);
    bool accepted;
};

const LineCase lineCases[] = {
    {"bare reply", [](const ReplyingCommand& c) { return deviceReply(c, false); }, true},
    {"addressed reply", [](const ReplyingCommand& c) { return deviceReply(c, true); }, true},
    // Of the reply only its text falls within the bytes read, which is enough.
    {"two noise bytes ahead of a bare reply",
     [](const ReplyingCommand& c) {
         Bytes line{0x41, 0x42};
         const Bytes reply = deviceReply(c, false);
         line.insert(line.end(), reply.begin(), reply.end());
         return line;
     },
     true},
    {"noise ahead pushes the reply's text out of the bytes read",
     [](const ReplyingCommand& c) {
         Bytes line(c.replyLength - 2, 0x41);
         const Bytes reply = deviceReply(c, false);
         line.insert(line.end(), reply.begin(), reply.end());
         return line;
     },
     false},
    {"reply short of one byte",
     [](const ReplyingCommand& c) {
         const Bytes reply = deviceReply(c, false);
         return Bytes(reply.begin(), reply.begin() + c.replyLength - 1);
     },
     false},
    {"lower-case reply",
     [](const ReplyingCommand& c) {
         Bytes reply = deviceReply(c, false);
         for (std::uint8_t& b : reply) {
             if (b >= 'A' && b <= 'F') b = static_cast<std::uint8_t>(b + 32);
         }
         // A result without letters reads the same in either case.
         reply[1] = 'a';
         return reply;
     },
     false},
    {"no reply", [](const ReplyingCommand&) { return Bytes{}; }, false},
};

// What an echoing line has handed back by the time the reply follows: the
// tail of an opening burst's echo (cut inside a frame, as a reopen cuts it)
// and the request, once, or twice when the echo of an earlier try of the
// same request came in after the reopen.
Bytes echoAhead(const ReplyingCommand& command, int requestCopies) {
    const Bytes burstFrame = requestFrame(5, {CMD_I});
    Bytes echo(burstFrame.begin() + 2, burstFrame.end());
    echo.insert(echo.end(), burstFrame.begin(), burstFrame.end());
    const Bytes request = requestFrame(5, command.payload);
    for (int copy = 0; copy < requestCopies; ++copy) {
        echo.insert(echo.end(), request.begin(), request.end());
    }
    return echo;
}

TEST_F(DeviceLinkTest, EveryReplyReadsTheSameBehindTheLinesEcho) {
    link.deviceAddress = 5;
    for (const ReplyingCommand& command : replyingCommands) {
        for (const LineCase& c : lineCases) {
            for (int requestEchoes : {0, 1, 2}) {
                SCOPED_TRACE(std::string(command.name) + ", " + c.name + ", " +
                             std::to_string(requestEchoes) + " echoes of the request");
                link.open(1);
                Bytes arriving = requestEchoes > 0 ? echoAhead(command, requestEchoes) : Bytes{};
                const Bytes reply = c.line(command);
                arriving.insert(arriving.end(), reply.begin(), reply.end());
                line.writeToPort(asText(arriving));
                EXPECT_EQ(runCommand(link, command),
                          c.accepted ? static_cast<long>(command.result) : -1);
                const Bytes request = requestFrame(5, command.payload);
                EXPECT_EQ(sent(request.size()), asText(request));
            }
        }
    }
}

TEST_F(DeviceLinkTest, EchoAloneIsNoAnswer) {
    link.deviceAddress = 1;
    const ReplyingCommand& probe = replyingCommands[0];
    const Bytes cmdI = requestFrame(1, {CMD_I});
    const Bytes request = requestFrame(1, probe.payload);
    struct EchoCase {
        const char* name;
        Bytes arrived;
    };
    // The burst's echo has exactly the shape of an addressed byte reply of
    // 0x49: only its place ahead of the request's own echo tells it apart.
    Bytes burstThenRequest = cmdI;
    burstThenRequest.insert(burstThenRequest.end(), cmdI.begin(), cmdI.end());
    burstThenRequest.insert(burstThenRequest.end(), request.begin(), request.end());
    Bytes requestStillArriving = cmdI;
    requestStillArriving.insert(requestStillArriving.end(), request.begin(), request.begin() + 3);
    const EchoCase cases[] = {
        {"the request's echo and nothing after it", request},
        {"a burst's echo, then the request's", burstThenRequest},
        {"a burst's echo, and the request's only begun", requestStillArriving},
        {"the request's echo and part of a reply",
         [&] {
             Bytes bytes = request;
             bytes.push_back(FRAME_START);
             bytes.push_back('5');
             return bytes;
         }()},
    };
    for (const EchoCase& c : cases) {
        SCOPED_TRACE(c.name);
        link.open(1);
        line.writeToPort(asText(c.arrived));
        std::uint8_t value = 7;
        EXPECT_FALSE(link.readByte(REG_PROBE, value));
        EXPECT_EQ(value, 7);
        sent(request.size());
    }
}

// Bytes that decode, yet are not this device's answer to this command: each
// would have shown a value the device never sent for the register read.
TEST_F(DeviceLinkTest, BytesThatCannotBeThisDevicesAnswerAreNoReply) {
    link.deviceAddress = 5;
    const Bytes word1234 = requestFrame(5, {0x04, 0xD2});  // 15 22 30 34 44 32 23 ..
    struct Case {
        const char* name;
        Bytes arrived;
        bool byteRead;  // else a word read
    };
    const Case cases[] = {
        {"an addressed reply of device 3", requestFrame(3, {0x04, 0xD2}), false},
        {"a word reply read as a byte", Bytes(word1234.begin() + 1, word1234.end()), true},
        {"a word reply's text cut to a byte's by the bytes read",
         [&] {
             Bytes bytes{0x41, 0x42};
             bytes.insert(bytes.end(), word1234.begin() + 1, word1234.end());
             return bytes;
         }(),
         true},
        {"the head of another request frame", requestFrame(5, {CMD_READ_WORD, 0x02, 0x0C}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link.open(1);
        line.writeToPort(asText(c.arrived));
        std::uint8_t byte = 7;
        std::uint32_t word = 7;
        EXPECT_FALSE(c.byteRead ? link.readByte(REG_PROBE, byte) : link.readWord(REG_DAC0, word));
        EXPECT_EQ(byte, 7);
        EXPECT_EQ(word, 7u);
        line.readFromPort(frameBufferSize, 50);
    }
}

}  // namespace
