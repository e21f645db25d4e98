#pragma once

// The wire format as pure functions: request frames, the check byte, hex
// digits, reply decoding, and where a reply starts on a line that echoes.
// No port in here, so the simulator and the fuzz targets build and read
// frames without one.

#include "protocol.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace codec {

// '0' to '9' and 'A' to 'F' for 0 to 15.
std::uint8_t hexDigit(std::uint8_t nibble);
// The value of a digit, as plain arithmetic on its code: any other
// character gives a value too, so callers check isHexDigit first.
std::uint8_t hexValue(std::uint8_t character);
// Upper-case hex only: the device never sends lower case.
bool isHexDigit(std::uint8_t character);

// XOR of the bytes from FRAME_START to FRAME_END, with bit 7 set.
std::uint8_t checkByte(const std::uint8_t* from, std::size_t count);

// Builds the request frame of a payload into frame (frameBufferSize bytes
// hold any payload up to maxPayloadLength); returns its length, 2n + 4.
std::size_t encodeFrame(std::uint8_t address, const std::uint8_t* payload, std::uint8_t length,
                        std::uint8_t* frame);

// The characters of a reply that decoding reads: those after the last
// FRAME_START up to FRAME_END or the end of the bytes, reply[start] on.
// Nothing when the bytes hold no FRAME_START.
struct ReplyText {
    std::size_t start;
    std::size_t length;
};
std::optional<ReplyText> replyText(const std::uint8_t* reply, std::size_t count);

// Decodes count reply bytes into result (room for count / 2 bytes); the
// number of result bytes, 0 when the text holds a character that is no
// upper-case hex digit.
std::uint8_t decodeReply(const std::uint8_t* reply, std::size_t count, std::uint8_t* result);

// The result bytes a reply of replyLength bytes carries: FRAME_START, two
// characters each, FRAME_END and the check byte.
std::size_t resultLengthOf(std::size_t replyLength);

// Whether the replyLength bytes at reply, which decode, can be the answer
// of the device at address; available is how many bytes arrived from reply
// on, replyLength of them and any after. The text must hold exactly two
// characters per result byte: a longer one (a word reply read as a byte, the
// echo of a request), one with a character too many, or one that the end of
// the replyLength bytes cuts while it runs on in the bytes after, belongs to
// another frame. And the byte just ahead of FRAME_START, if there is one,
// must name no other device: a late reply of another device is not this
// one's.
bool isAnswerFrom(const std::uint8_t* reply, std::size_t replyLength, std::size_t available,
                  std::uint8_t address);

std::optional<std::size_t> replyStart(const std::uint8_t* arrived, std::size_t count,
                                      const std::uint8_t* request, std::size_t requestLength);

}  // namespace codec
