#include "frame_codec.h"

#include <algorithm>

namespace codec {

namespace {

// Storing the 198th character empties the store and storing goes on from
// its start, so at most 197 characters ever count: a reply that never ends
// cannot run past the store.
constexpr std::size_t storeLimit = 198;

// The shortest tail taken as the start of a copy of the request: its
// address byte and FRAME_START.
constexpr std::size_t echoHeadLength = 2;

}  // namespace

std::uint8_t hexDigit(std::uint8_t nibble) {
    return static_cast<std::uint8_t>(nibble < 10 ? '0' + nibble : 'A' + (nibble - 10));
}

// Codes above '9' are taken as letters ('A' is 10), all others as digits
// ('0' is 0), without looking further: "0a" gives 0x2A, not 0x0A.
std::uint8_t hexValue(std::uint8_t character) {
    return static_cast<std::uint8_t>(character > '9' ? character - 'A' + 10 : character - '0');
}

bool isHexDigit(std::uint8_t character) {
    return (character >= '0' && character <= '9') || (character >= 'A' && character <= 'F');
}

std::uint8_t checkByte(const std::uint8_t* from, std::size_t count) {
    std::uint8_t check = 0;
    for (std::size_t i = 0; i < count; ++i) check ^= from[i];
    return static_cast<std::uint8_t>(check | 0x80);
}

std::size_t encodeFrame(std::uint8_t address, const std::uint8_t* payload, std::uint8_t length,
                        std::uint8_t* frame) {
    std::size_t at = 0;
    frame[at++] = static_cast<std::uint8_t>(0x10 | address);
    frame[at++] = FRAME_START;
    for (std::uint8_t i = 0; i < length; ++i) {
        frame[at++] = hexDigit(static_cast<std::uint8_t>(payload[i] >> 4));
        frame[at++] = hexDigit(static_cast<std::uint8_t>(payload[i] & 0x0F));
    }
    frame[at++] = FRAME_END;
    frame[at] = checkByte(frame + 1, at - 1);
    return at + 1;
}

// FRAME_START begins the text anywhere, also after FRAME_END; the first byte
// that is neither after FRAME_END is the check byte, and nothing after it is
// looked at.
std::optional<ReplyText> replyText(const std::uint8_t* reply, std::size_t count) {
    std::optional<ReplyText> text;
    bool ended = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = reply[i];
        if (byte == FRAME_START) {
            text = ReplyText{i + 1, 0};
            ended = false;
        } else if (byte == FRAME_END) {
            if (text) ended = true;
        } else if (text) {
            if (ended) break;
            ++text->length;
        }
    }
    return text;
}

std::uint8_t decodeReply(const std::uint8_t* reply, std::size_t count, std::uint8_t* result) {
    const std::optional<ReplyText> text = replyText(reply, count);
    if (!text) return 0;
    const std::size_t kept = text->length % storeLimit;
    const std::uint8_t* characters = reply + text->start + text->length - kept;
    // Anything but upper-case hex in the text, a lower-case letter or a
    // noise byte, would decode to another number than the device meant, so
    // the reply counts as not received.
    if (!std::all_of(characters, characters + kept, isHexDigit)) return 0;
    const std::size_t pairs = kept / 2;
    for (std::size_t i = 0; i < pairs; ++i) {
        result[i] = static_cast<std::uint8_t>((hexValue(characters[2 * i]) * 16) % 256 |
                                              hexValue(characters[2 * i + 1]));
    }
    return static_cast<std::uint8_t>(pairs);
}

std::size_t resultLengthOf(std::size_t replyLength) {
    return replyLength < 3 ? 0 : (replyLength - 3) / 2;
}

bool isAnswerFrom(const std::uint8_t* reply, std::size_t replyLength, std::size_t available,
                  std::uint8_t address) {
    const std::optional<ReplyText> text = replyText(reply, replyLength);
    if (!text || text->length != 2 * resultLengthOf(replyLength)) return false;
    const std::size_t textEnd = text->start + text->length;
    if (textEnd == replyLength && available > replyLength && isHexDigit(reply[replyLength])) {
        return false;
    }
    if (text->start < 2) return true;
    const std::uint8_t ahead = reply[text->start - 2];
    return (ahead & 0xF0) != 0x10 || ahead == (0x10 | address);
}

std::optional<std::size_t> replyStart(const std::uint8_t* arrived, std::size_t count,
                                      const std::uint8_t* request, std::size_t requestLength) {
    if (requestLength == 0) return 0;
    for (std::size_t end = count; end >= requestLength; --end) {
        if (std::equal(request, request + requestLength, arrived + end - requestLength)) {
            return end;
        }
    }
    const std::size_t longestHead = std::min(count, requestLength - 1);
    for (std::size_t head = longestHead; head >= echoHeadLength; --head) {
        if (std::equal(request, request + head, arrived + count - head)) return std::nullopt;
    }
    return 0;
}

}  // namespace codec
