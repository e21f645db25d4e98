// Request frames and reply decoding, byte for byte.

#include "device_link.h"
#include "frame_codec.h"
#include "request_frames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct FrameCase {
    const char* name;
    std::uint8_t address;
    Bytes payload;
    Bytes frame;
};

TEST(RequestFrame, MatchesTheWorkedExamples) {
    const FrameCase cases[] = {
        {"CMD_I to 5", 5, {CMD_I}, {0x15, 0x22, 0x34, 0x39, 0x23, 0x8C}},
        {"CMD_I to 0", 0, {CMD_I}, {0x10, 0x22, 0x34, 0x39, 0x23, 0x8C}},
        {"CMD_H to 0", 0, {CMD_H}, {0x10, 0x22, 0x34, 0x38, 0x23, 0x8D}},
        {"read word DAC0",
         0,
         {CMD_READ_WORD, 0x02, 0x0B},
         {0x10, 0x22, 0x31, 0x32, 0x30, 0x32, 0x30, 0x42, 0x23, 0xF2}},
        {"read byte PROBE to 3",
         3,
         {CMD_READ_BYTE, 0x02, 0x2F},
         {0x13, 0x22, 0x31, 0x30, 0x30, 0x32, 0x32, 0x46, 0x23, 0xF6}},
        {"write 500 to DAC0",
         0,
         {CMD_WRITE_WORD, 0x02, 0x0B, 0x01, 0xF4},
         {0x10, 0x22, 0x31, 0x33, 0x30, 0x32, 0x30, 0x42, 0x30, 0x31, 0x46, 0x34, 0x23, 0x80}},
        {"reset 24, 100",
         0,
         {CMD_RESET, 24, 0x00, 0x64},
         {0x10, 0x22, 0x35, 0x37, 0x31, 0x38, 0x30, 0x30, 0x36, 0x34, 0x23, 0x88}},
        {"empty payload", 0, {}, {0x10, 0x22, 0x23, 0x81}},
        {"highest address", 15, {}, {0x1F, 0x22, 0x23, 0x81}},
    };
    for (const FrameCase& c : cases) {
        EXPECT_EQ(requestFrame(c.address, c.payload), c.frame) << c.name;
    }
}

TEST(RequestFrame, LargestPayloadFillsTheBufferAndKeepsTheCheckHigh) {
    const Bytes payload(maxPayloadLength, 0xAB);
    const Bytes frame = requestFrame(7, payload);
    ASSERT_EQ(frame.size(), frameBufferSize);
    EXPECT_EQ(frame[frameBufferSize - 2], FRAME_END);
    EXPECT_GE(frame.back(), 0x80);
}

TEST(HexCharacters, DigitsAreUpperCaseAndValuesTakeNoCase) {
    const std::string digits = "0123456789ABCDEF";
    for (std::uint8_t v = 0; v < 16; ++v) {
        EXPECT_EQ(DeviceLink::hexDigit(v), digits[v]);
        EXPECT_EQ(DeviceLink::hexValue(static_cast<std::uint8_t>(digits[v])), v);
    }
    // A character's value is plain arithmetic; whether it may stand in a
    // reply is the decoder's question.
    EXPECT_EQ(DeviceLink::hexValue('a'), 0x2A);
}

struct ReplyCase {
    const char* name;
    Bytes reply;
    Bytes decoded;
};

TEST(ReplyDecoder, FollowsTheFramingRules) {
    const ReplyCase cases[] = {
        {"word with check byte", {0x22, 0x30, 0x31, 0x46, 0x34, 0x23, 0xF2}, {0x01, 0xF4}},
        {"address byte ahead", {0x10, 0x22, 0x30, 0x31, 0x46, 0x34, 0x23}, {0x01, 0xF4}},
        {"no FRAME_END", {0x41, 0x42, 0x22, 0x30, 0x31, 0x46, 0x34}, {0x01, 0xF4}},
        {"later FRAME_START restarts", {0x22, 0x31, 0x22, 0x30, 0x31, 0x46, 0x34}, {0x01, 0xF4}},
        {"bytes after the check byte", {0x22, 0x31, 0x32, 0x23, 0x82, 0x33, 0x34}, {0x12}},
        {"FRAME_START after the end", {0x22, 0x31, 0x32, 0x23, 0x22, 0x34, 0x35}, {0x45}},
        {"FRAME_END outside is skipped", {0x23, 0x22, 0x30, 0x31, 0x46, 0x34, 0x23}, {0x01, 0xF4}},
        {"second FRAME_END changes nothing", {0x22, 0x31, 0x32, 0x23, 0x23, 0x33, 0x34}, {0x12}},
        {"odd character dropped", {0x22, 0x31, 0x32, 0x33, 0x23, 0x80, 0x00}, {0x12}},
        // Text that is no upper-case hex would decode to a number the
        // device never sent.
        {"lower-case letter", {0x22, 0x30, 0x61, 0x23, 0x80}, {}},
        {"noise inside", {0x22, 0x30, 0x31, 0x07, 0x46, 0x34, 0x23}, {}},
        {"odd noise character", {0x22, 0x31, 0x32, 0x7E, 0x23, 0x80, 0x00}, {}},
        {"one character only", {0x22, 0x31, 0x23, 0x80, 0x00}, {}},
        {"no FRAME_START", {0x30, 0x31, 0x46, 0x34, 0x23, 0x80, 0x00}, {}},
    };
    for (const ReplyCase& c : cases) {
        std::uint8_t result[frameBufferSize / 2] = {};
        const std::uint8_t count = codec::decodeReply(c.reply.data(), c.reply.size(), result);
        EXPECT_EQ(Bytes(result, result + count), c.decoded) << c.name;
    }
}

TEST(ReplyDecoder, StoreStartsOverAtItsLimit) {
    // 197 characters all count; the 198th empties the store, so the
    // characters after it are the only ones decoded.
    Bytes reply{FRAME_START};
    reply.insert(reply.end(), 197, '1');
    std::uint8_t result[frameBufferSize / 2];
    EXPECT_EQ(codec::decodeReply(reply.data(), reply.size(), result), 98);

    reply.push_back('1');
    reply.push_back('4');
    reply.push_back('2');
    EXPECT_EQ(codec::decodeReply(reply.data(), reply.size(), result), 1);
    EXPECT_EQ(result[0], 0x42);
}

}  // namespace
