// The device model: requests in, replies and log records out.

#include "frame_codec.h"
#include "line_model.h"
#include "request_frames.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <random>
#include <vector>

namespace {

Bytes readWordPayload(std::uint16_t reg) {
    return {CMD_READ_WORD, static_cast<std::uint8_t>(reg >> 8),
            static_cast<std::uint8_t>(reg & 0xFF)};
}

Bytes readBytePayload(std::uint16_t reg) {
    return {CMD_READ_BYTE, static_cast<std::uint8_t>(reg >> 8),
            static_cast<std::uint8_t>(reg & 0xFF)};
}

Bytes writeWordPayload(std::uint16_t reg, std::uint16_t value) {
    return {CMD_WRITE_WORD, static_cast<std::uint8_t>(reg >> 8),
            static_cast<std::uint8_t>(reg & 0xFF), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value & 0xFF)};
}

Bytes resetPayload(std::uint8_t subCode, std::uint16_t value) {
    return {CMD_RESET, subCode, static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value & 0xFF)};
}

DeviceConfig deviceAt(std::uint8_t address, std::uint16_t dac0 = 0) {
    DeviceConfig config;
    config.address = address;
    config.registers[REG_DAC0] = dac0;
    return config;
}

LineOutput send(LineModel& line, const Bytes& bytes, double nowMs = 0) {
    return line.receive(bytes.data(), bytes.size(), nowMs);
}

// What a client reading replyLength bytes makes of a reply: -1 when it
// decodes to nothing usable.
long decodedAs(const Bytes& reply, std::size_t replyLength) {
    if (reply.size() < replyLength) return -1;
    std::uint8_t result[frameBufferSize];
    const std::uint8_t count = codec::decodeReply(reply.data(), replyLength, result);
    if (replyLength == byteReplyLength) return count >= 1 ? result[0] : -1;
    return count >= 2 ? result[0] * 256 + result[1] : -1;
}

TEST(SimReplyForm, WorkedExampleWord500InBothForms) {
    struct Case {
        ReplyForm form;
        Bytes reply;
    };
    const Case cases[] = {
        {ReplyForm::bare, {0x22, 0x30, 0x31, 0x46, 0x34, 0x23, 0xF2}},
        {ReplyForm::addressed, {0x15, 0x22, 0x30, 0x31, 0x46, 0x34, 0x23, 0xF2}},
    };
    for (const Case& c : cases) {
        LineModel line({deviceAt(5, 500)}, c.form);
        const LineOutput out = send(line, requestFrame(5, readWordPayload(REG_DAC0)), 40.0);
        ASSERT_EQ(out.replies.size(), 1u);
        EXPECT_EQ(out.replies[0].record.bytes, c.reply);
        EXPECT_DOUBLE_EQ(out.replies[0].dueMs, 40.0);
        EXPECT_EQ(decodedAs(out.replies[0].record.bytes, wordReplyLength), 500);
    }
}

TEST(SimReplyForm, EachCommandAnswersAsTheClientReadsIt) {
    struct Case {
        const char* name;
        Bytes payload;
        std::size_t replyLength;  // 0: no reply
        long result;
    };
    const Case cases[] = {
        {"byte read of probe", readBytePayload(REG_PROBE), byteReplyLength, defaultProbeValue},
        {"byte read of a word register", readBytePayload(REG_DAC0), byteReplyLength, 0x34},
        {"word read of dac0", readWordPayload(REG_DAC0), wordReplyLength, 0x1234},
        {"word read of an unset register", readWordPayload(0x0400), wordReplyLength, 0},
        {"word write echoes", writeWordPayload(0x0230, 4095), wordReplyLength, 4095},
        {"reset echoes its value", resetPayload(24, 100), wordReplyLength, 100},
        {"CMD_I is silent", {CMD_I}, 0, 0},
        {"CMD_H is silent", {CMD_H}, 0, 0},
    };
    for (ReplyForm form : {ReplyForm::bare, ReplyForm::addressed}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            LineModel line({deviceAt(2, 0x1234)}, form);
            const LineOutput out = send(line, requestFrame(2, c.payload));
            ASSERT_EQ(out.received.size(), 1u);
            if (c.replyLength == 0) {
                EXPECT_TRUE(out.replies.empty());
                continue;
            }
            ASSERT_EQ(out.replies.size(), 1u);
            const Bytes& reply = out.replies[0].record.bytes;
            const std::size_t extra = form == ReplyForm::addressed ? 1 : 0;
            ASSERT_EQ(reply.size(), c.replyLength + extra);
            if (extra) {
                EXPECT_EQ(reply[0], 0x12);
            }
            EXPECT_EQ(reply.back(), codec::checkByte(reply.data() + extra, c.replyLength - 1));
            EXPECT_EQ(decodedAs(reply, c.replyLength), c.result);
        }
    }
}

TEST(SimDevice, WriteIsReadBackAndKeptPerRegister) {
    LineModel line({deviceAt(5, 500)}, ReplyForm::bare);
    ASSERT_EQ(send(line, requestFrame(5, writeWordPayload(REG_DAC0, 1234))).replies.size(), 1u);
    const LineOutput dac0 = send(line, requestFrame(5, readWordPayload(REG_DAC0)));
    const LineOutput other = send(line, requestFrame(5, readWordPayload(0x020C)));
    ASSERT_EQ(dac0.replies.size(), 1u);
    ASSERT_EQ(other.replies.size(), 1u);
    EXPECT_EQ(decodedAs(dac0.replies[0].record.bytes, wordReplyLength), 1234);
    EXPECT_EQ(decodedAs(other.replies[0].record.bytes, wordReplyLength), 0);
}

TEST(SimDevice, TwoDevicesShareTheLineAndOnlyTheAddressedOneAnswers) {
    LineModel line({deviceAt(3, 1200), deviceAt(5, 500)}, ReplyForm::addressed);
    ASSERT_EQ(send(line, requestFrame(3, writeWordPayload(REG_DAC0, 77))).replies.size(), 1u);
    for (auto [address, expected] : {std::pair<std::uint8_t, long>{3, 77}, {5, 500}}) {
        const LineOutput out = send(line, requestFrame(address, readWordPayload(REG_DAC0)));
        ASSERT_EQ(out.replies.size(), 1u);
        EXPECT_EQ(out.replies[0].record.bytes[0], 0x10 | address);
        EXPECT_EQ(decodedAs(out.replies[0].record.bytes, wordReplyLength), expected);
    }
}

TEST(SimDevice, AddressWithoutDeviceGetsNoReplyAndIsLoggedSo) {
    LineModel line({deviceAt(5, 500)}, ReplyForm::bare);
    const LineOutput out = send(line, requestFrame(7, readWordPayload(REG_DAC0)));
    EXPECT_TRUE(out.replies.empty());
    ASSERT_EQ(out.received.size(), 1u);
    EXPECT_EQ(out.received[0].meaning, "addr=7 CMD_READ_WORD reg=0x020B no-device");
}

// Frames cut at every possible place, with noise around them, give the same
// answers as frames that arrive whole.
TEST(SimFrameReader, FramesSplitAnywhereAmongNoise) {
    const Bytes noise1 = {0x00, 0xFF, 0x22, 0x41, 0x17, 0x41, 0x23};  // lone start, stray address
    const Bytes noise2 = {0x23, 0x80, 0x15, 0x15};                    // address bytes, no start
    Bytes stream = noise1;
    for (const Bytes& part : {requestFrame(5, writeWordPayload(REG_DAC0, 321)), noise2,
                              requestFrame(5, readWordPayload(REG_DAC0)), Bytes{0x99}}) {
        stream.insert(stream.end(), part.begin(), part.end());
    }
    for (std::size_t chunk = 1; chunk <= stream.size(); ++chunk) {
        SCOPED_TRACE(chunk);
        LineModel line({deviceAt(5)}, ReplyForm::bare);
        std::vector<LineRecord> received;
        std::vector<Reply> replies;
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            LineOutput out =
                line.receive(stream.data() + at, std::min(chunk, stream.size() - at), 0);
            received.insert(received.end(), out.received.begin(), out.received.end());
            replies.insert(replies.end(), out.replies.begin(), out.replies.end());
        }
        ASSERT_EQ(received.size(), 2u);
        EXPECT_EQ(received[0].meaning, "addr=5 CMD_WRITE_WORD reg=0x020B value=321");
        EXPECT_EQ(received[1].meaning, "addr=5 CMD_READ_WORD reg=0x020B");
        ASSERT_EQ(replies.size(), 2u);
        EXPECT_EQ(decodedAs(replies[1].record.bytes, wordReplyLength), 321);
    }
}

TEST(SimFrameReader, BadFramesAreRejectedAndTheNextFrameStillAnswered) {
    Bytes badCheck = requestFrame(5, readWordPayload(REG_DAC0));
    badCheck.back() ^= 0x01;
    Bytes lowerHex = requestFrame(5, readWordPayload(REG_DAC0));  // ...30 42... -> ...30 62...
    lowerHex[7] = 'b';
    lowerHex.back() = codec::checkByte(lowerHex.data() + 1, lowerHex.size() - 2);
    Bytes oddHex = {0x15, 0x22, 0x31, 0x32, 0x30, 0x23};
    oddHex.push_back(codec::checkByte(oddHex.data() + 1, oddHex.size() - 1));
    Bytes nonHex = {0x15, 0x22, 0x31, 0x32, 0x30, 0x47, 0x23};
    nonHex.push_back(codec::checkByte(nonHex.data() + 1, nonHex.size() - 1));

    struct Case {
        const char* name;
        Bytes frame;
    };
    const Case cases[] = {
        {"bad check byte", badCheck},
        {"lower-case hex", lowerHex},
        {"odd hex count", oddHex},
        {"non-hex character", nonHex},
        {"empty payload", requestFrame(5, {})},
        {"unknown opcode", requestFrame(5, {0x11, 0x02, 0x0B})},
        {"payload too short", requestFrame(5, {CMD_READ_WORD, 0x02})},
        {"payload too long", requestFrame(5, {CMD_I, 0x00})},
        {"cut off by the next frame", {0x15, 0x22, 0x31, 0x32}},
        {"check byte lost", Bytes(badCheck.begin(), badCheck.end() - 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineModel line({deviceAt(5, 500)}, ReplyForm::bare);
        Bytes stream = c.frame;
        const Bytes good = requestFrame(5, readWordPayload(REG_DAC0));
        stream.insert(stream.end(), good.begin(), good.end());
        const LineOutput out = send(line, stream);
        ASSERT_EQ(out.received.size(), 2u);
        EXPECT_EQ(out.received[0].meaning, "addr=5 rejected");
        EXPECT_EQ(out.received[0].bytes, c.frame);
        EXPECT_EQ(out.received[1].meaning, "addr=5 CMD_READ_WORD reg=0x020B");
        ASSERT_EQ(out.replies.size(), 1u);
        EXPECT_EQ(decodedAs(out.replies[0].record.bytes, wordReplyLength), 500);
    }
}

TEST(SimFrameReader, OverlongFrameIsCutAtTheBufferSize) {
    LineModel line({deviceAt(5, 500)}, ReplyForm::bare);
    Bytes stream = {0x15, 0x22};
    stream.insert(stream.end(), 500, '3');
    const LineOutput out = send(line, stream);
    ASSERT_EQ(out.received.size(), 1u);
    EXPECT_EQ(out.received[0].bytes.size(), frameBufferSize - 2);
    EXPECT_EQ(out.received[0].meaning, "addr=5 rejected");
    EXPECT_TRUE(out.replies.empty());
    // The largest frame a client can build is still taken.
    LineModel fresh({deviceAt(5)}, ReplyForm::bare);
    const LineOutput largest = send(fresh, requestFrame(5, Bytes(maxPayloadLength, CMD_I)));
    ASSERT_EQ(largest.received.size(), 1u);
    EXPECT_EQ(largest.received[0].bytes.size(), frameBufferSize);
}

TEST(SimFrameReader, RandomBytesNeverBreakTheReader) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> smallByte(0x10, 0x46);  // rich in frame characters
    LineModel line({deviceAt(0), deviceAt(5, 500), deviceAt(15)}, ReplyForm::bare);
    for (int round = 0; round < 2000; ++round) {
        Bytes junk(static_cast<std::size_t>(anyByte(random)));
        for (std::uint8_t& b : junk) {
            b = static_cast<std::uint8_t>(round % 2 ? anyByte(random) : smallByte(random));
        }
        for (const LineRecord& record : send(line, junk).received) {
            ASSERT_LE(record.bytes.size(), frameBufferSize);
        }
    }
    // Whatever state the noise left the reader in, a whole frame gets through.
    const LineOutput out = send(line, requestFrame(5, readWordPayload(REG_DAC0)));
    ASSERT_FALSE(out.received.empty());
    EXPECT_EQ(out.received.back().meaning, "addr=5 CMD_READ_WORD reg=0x020B");
    ASSERT_EQ(out.replies.size(), 1u);
    EXPECT_EQ(decodedAs(out.replies[0].record.bytes, wordReplyLength),
              line.device(5)->registerValue(REG_DAC0));
}

TEST(SimFaults, FailFirstKRequestsOfOneKindOnly) {
    struct Case {
        const char* name;
        std::uint32_t DeviceFaults::*count;
        Bytes failing;
        Bytes unaffected;
    };
    const Case cases[] = {
        {"fail-byte", &DeviceFaults::failByte, readBytePayload(REG_PROBE),
         readWordPayload(REG_DAC0)},
        {"fail-word", &DeviceFaults::failWord, readWordPayload(REG_DAC0),
         readBytePayload(REG_PROBE)},
        {"fail-write", &DeviceFaults::failWrite, writeWordPayload(REG_DAC0, 9), resetPayload(1, 2)},
        {"fail-reset", &DeviceFaults::failReset, resetPayload(1, 2), writeWordPayload(REG_DAC0, 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceConfig config = deviceAt(5);
        config.faults.*c.count = 2;
        LineModel line({config}, ReplyForm::bare);
        EXPECT_EQ(send(line, requestFrame(5, c.unaffected)).replies.size(), 1u);
        EXPECT_EQ(send(line, requestFrame(5, c.failing)).replies.size(), 0u);
        EXPECT_EQ(send(line, requestFrame(5, c.failing)).replies.size(), 0u);
        EXPECT_EQ(send(line, requestFrame(5, c.failing)).replies.size(), 1u);
        EXPECT_EQ(send(line, requestFrame(5, c.failing)).replies.size(), 1u);
    }
}

TEST(SimFaults, DroppedWriteStoresNothing) {
    DeviceConfig config = deviceAt(5, 500);
    config.faults.failWrite = 1;
    LineModel line({config}, ReplyForm::bare);
    send(line, requestFrame(5, writeWordPayload(REG_DAC0, 7)));
    EXPECT_EQ(line.device(5)->registerValue(REG_DAC0), 500);
}

TEST(SimFaults, SilentDeviceNeverAnswers) {
    DeviceConfig config = deviceAt(5, 500);
    config.faults.silent = true;
    LineModel line({config}, ReplyForm::bare);
    for (const Bytes& payload : {readBytePayload(REG_PROBE), readWordPayload(REG_DAC0),
                                 writeWordPayload(REG_DAC0, 1), resetPayload(0, 0)}) {
        const LineOutput out = send(line, requestFrame(5, payload));
        EXPECT_TRUE(out.replies.empty());
        ASSERT_EQ(out.received.size(), 1u);
        EXPECT_EQ(out.received[0].meaning.find("no-device"), std::string::npos);
    }
}

TEST(SimFaults, LateReplyIsDueLater) {
    DeviceConfig config = deviceAt(5, 500);
    config.faults.lateMs = 200;
    LineModel line({config}, ReplyForm::bare);
    const LineOutput out = send(line, requestFrame(5, readWordPayload(REG_DAC0)), 1000.5);
    ASSERT_EQ(out.replies.size(), 1u);
    EXPECT_DOUBLE_EQ(out.replies[0].dueMs, 1200.5);
    EXPECT_EQ(decodedAs(out.replies[0].record.bytes, wordReplyLength), 500);
}

TEST(SimFaults, WrongEchoStoresTheWordButEchoesAnother) {
    DeviceConfig config = deviceAt(5);
    config.faults.wrongEcho = true;
    LineModel line({config}, ReplyForm::bare);
    const LineOutput out = send(line, requestFrame(5, writeWordPayload(REG_DAC0, 500)));
    ASSERT_EQ(out.replies.size(), 1u);
    const long echoed = decodedAs(out.replies[0].record.bytes, wordReplyLength);
    EXPECT_NE(echoed, 500);
    EXPECT_NE(echoed, -1);
    EXPECT_EQ(line.device(5)->registerValue(REG_DAC0), 500);
}

// Faults that change the bytes of a reply, against the reply without them.
TEST(SimFaults, ReplyShapes) {
    auto replyWith = [](const DeviceFaults& faults) {
        DeviceConfig config = deviceAt(5, 0x0ABC);
        config.faults = faults;
        LineModel line({config}, ReplyForm::bare);
        LineOutput out = send(line, requestFrame(5, readWordPayload(REG_DAC0)));
        return out.replies.size() == 1 ? out.replies[0].record.bytes : Bytes{};
    };
    const Bytes plain = replyWith({});
    ASSERT_EQ(plain, (Bytes{0x22, 0x30, 0x41, 0x42, 0x43, 0x23, 0xF1}));

    DeviceFaults lower;
    lower.lowerCase = true;
    Bytes lowered = {0x22, 0x30, 0x61, 0x62, 0x63, 0x23, 0};
    lowered.back() = codec::checkByte(lowered.data(), 6);
    EXPECT_EQ(replyWith(lower), lowered);

    DeviceFaults cut;
    cut.truncate = 3;
    EXPECT_EQ(replyWith(cut), Bytes(plain.begin(), plain.begin() + 3));
    cut.truncate = 50;
    EXPECT_EQ(replyWith(cut), plain);

    DeviceFaults noisy;
    noisy.noise = 40;
    const Bytes withNoise = replyWith(noisy);
    ASSERT_EQ(withNoise.size(), 40 + plain.size());
    EXPECT_EQ(Bytes(withNoise.begin() + 40, withNoise.end()), plain);
    for (std::size_t i = 0; i < 40; ++i) {
        EXPECT_NE(withNoise[i], FRAME_START);
        EXPECT_NE(withNoise[i], FRAME_END);
    }

    DeviceFaults noisyInside;
    noisyInside.noiseInside = 20;
    const Bytes inside = replyWith(noisyInside);
    ASSERT_EQ(inside.size(), 20 + plain.size());
    EXPECT_EQ(inside.front(), FRAME_START);
    EXPECT_EQ(Bytes(inside.begin() + 21, inside.end()), Bytes(plain.begin() + 1, plain.end()));
    for (std::size_t i = 1; i <= 20; ++i) {
        EXPECT_FALSE(std::isxdigit(inside[i]) || inside[i] == FRAME_START || inside[i] == FRAME_END)
            << i;
    }
}

// The log lines that tests and tools parse.
TEST(SimLog, LinesOfAnExchange) {
    LineModel line({deviceAt(5, 500), deviceAt(3)}, ReplyForm::bare);
    struct Case {
        std::uint8_t address;
        Bytes payload;
        const char* rx;
        const char* tx;  // nullptr: no reply
    };
    const Case cases[] = {
        {5, readWordPayload(REG_DAC0),
         "1234.567 rx addr=5 CMD_READ_WORD reg=0x020B frame=15 22 31 32 30 32 30 42 23 F2",
         "1234.567 tx addr=5 word=500 frame=22 30 31 46 34 23 F2"},
        {5, writeWordPayload(REG_DAC0, 500),
         "1234.567 rx addr=5 CMD_WRITE_WORD reg=0x020B value=500 "
         "frame=15 22 31 33 30 32 30 42 30 31 46 34 23 80",
         "1234.567 tx addr=5 word=500 frame=22 30 31 46 34 23 F2"},
        {3, readBytePayload(REG_PROBE),
         "1234.567 rx addr=3 CMD_READ_BYTE reg=0x022F frame=13 22 31 30 30 32 32 46 23 F6",
         "1234.567 tx addr=3 byte=90 frame=22 35 41 23 F5"},
        {0, resetPayload(24, 100),
         "1234.567 rx addr=0 CMD_RESET value=100 no-device "
         "frame=10 22 35 37 31 38 30 30 36 34 23 88",
         nullptr},
        {5, {CMD_I}, "1234.567 rx addr=5 CMD_I frame=15 22 34 39 23 8C", nullptr},
    };
    for (const Case& c : cases) {
        const LineOutput out = send(line, requestFrame(c.address, c.payload), 1234.5674);
        ASSERT_EQ(out.received.size(), 1u);
        EXPECT_EQ(formatLogLine(out.received[0]), c.rx);
        ASSERT_EQ(out.replies.size(), c.tx ? 1u : 0u);
        if (c.tx) {
            EXPECT_EQ(formatLogLine(out.replies[0].record), c.tx);
        }
    }
    const Bytes broken = {0x15, 0x22, 0x31, 0x23, 0x80};
    EXPECT_EQ(formatLogLine(send(line, broken, 0.25).received.at(0)),
              "0.250 rx addr=5 rejected frame=15 22 31 23 80");
}

}  // namespace
