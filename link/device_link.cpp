#include "device_link.h"

namespace {

// Storing this many characters starts the store over, so at most one less
// counts at any time.
constexpr std::size_t storeWrap = 198;

bool isHexDigit(std::uint8_t character) {
    return (character >= '0' && character <= '9') || (character >= 'A' && character <= 'F');
}

std::uint16_t wordOf(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] * 256 + bytes[1]);
}

}  // namespace

std::uint8_t DeviceLink::hexDigit(std::uint8_t nibble) {
    return static_cast<std::uint8_t>(nibble < 10 ? nibble + 48 : nibble + 55);
}

std::uint8_t DeviceLink::hexValue(std::uint8_t character) {
    return static_cast<std::uint8_t>(character > 0x39 ? character - 55 : character - 48);
}

std::uint8_t DeviceLink::checkByte(const std::uint8_t* from, std::size_t count) {
    std::uint8_t check = 0;
    for (std::size_t i = 0; i < count; ++i) check ^= from[i];
    return static_cast<std::uint8_t>(check | 0x80);
}

std::size_t DeviceLink::encodeFrame(std::uint8_t address, const std::uint8_t* payload,
                                    std::uint8_t length, std::uint8_t* frame) {
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

std::uint8_t DeviceLink::decodeReply(const std::uint8_t* reply, std::size_t count,
                                     std::uint8_t* result) {
    std::uint8_t store[storeWrap];
    std::size_t stored = 0;
    bool inside = false;
    bool ended = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = reply[i];
        if (byte == FRAME_START) {
            inside = true;
            ended = false;
            stored = 0;
        } else if (byte == FRAME_END) {
            if (inside) ended = true;
        } else if (inside) {
            if (ended) break;  // the check byte: nothing after it is looked at
            store[stored++] = byte;
            if (stored == storeWrap) stored = 0;
        }
    }
    // Replies are upper-case hexadecimal text. Anything else in it, a
    // lower-case letter or a noise byte, would decode to another number
    // than the device meant, so the reply counts as not received.
    for (std::size_t i = 0; i < stored; ++i) {
        if (!isHexDigit(store[i])) return 0;
    }
    const std::size_t pairs = stored / 2;
    for (std::size_t i = 0; i < pairs; ++i) {
        result[i] = static_cast<std::uint8_t>((hexValue(store[2 * i]) * 16) % 256 |
                                              hexValue(store[2 * i + 1]));
    }
    return static_cast<std::uint8_t>(pairs);
}

void DeviceLink::sendFrame(const std::uint8_t* payload, std::uint8_t length) {
    std::uint8_t frame[frameBufferSize];
    const std::size_t size = encodeFrame(deviceAddress, payload, length, frame);
    writeBytes(frame, static_cast<std::uint32_t>(size), transferTimeoutMs);
}

std::uint8_t DeviceLink::receiveFrame(std::uint8_t* result, std::uint8_t replyLength) {
    std::uint8_t reply[frameBufferSize];
    if (readBytes(reply, replyLength, transferTimeoutMs) != replyLength) return 0;
    return decodeReply(reply, replyLength, result);
}

void DeviceLink::sendH() {
    const std::uint8_t payload[] = {CMD_H};
    sendFrame(payload, sizeof payload);
}

void DeviceLink::sendI() {
    const std::uint8_t payload[] = {CMD_I};
    sendFrame(payload, sizeof payload);
}

bool DeviceLink::readByte(std::uint16_t reg, std::uint8_t& result) {
    const std::uint8_t payload[] = {CMD_READ_BYTE, static_cast<std::uint8_t>(reg >> 8),
                                    static_cast<std::uint8_t>(reg & 0xFF)};
    sendFrame(payload, sizeof payload);
    waitForReply(readByteWaitMs);
    std::uint8_t decoded[byteReplyLength / 2];
    if (receiveFrame(decoded, byteReplyLength) == 0) return false;
    result = decoded[0];
    return true;
}

bool DeviceLink::wordExchange(const std::uint8_t* payload, std::uint8_t length,
                              std::uint32_t waitMs, std::uint32_t& word) {
    sendFrame(payload, length);
    waitForReply(waitMs);
    std::uint8_t decoded[wordReplyLength / 2];
    // One decoded byte leaves the low byte unknown: a failed exchange.
    if (receiveFrame(decoded, wordReplyLength) < 2) return false;
    word = wordOf(decoded);
    return true;
}

bool DeviceLink::readWord(std::uint16_t reg, std::uint32_t& result) {
    const std::uint8_t payload[] = {CMD_READ_WORD, static_cast<std::uint8_t>(reg >> 8),
                                    static_cast<std::uint8_t>(reg & 0xFF)};
    return wordExchange(payload, sizeof payload, readWordWaitMs, result);
}

bool DeviceLink::writeWord(std::uint16_t reg, std::uint16_t value) {
    const std::uint8_t payload[] = {CMD_WRITE_WORD, static_cast<std::uint8_t>(reg >> 8),
                                    static_cast<std::uint8_t>(reg & 0xFF),
                                    static_cast<std::uint8_t>(value >> 8),
                                    static_cast<std::uint8_t>(value & 0xFF)};
    std::uint32_t echo = 0;
    return wordExchange(payload, sizeof payload, writeWordWaitMs, echo) && echo == value;
}

std::uint32_t DeviceLink::sendReset(std::uint8_t subCode, std::uint16_t value) {
    const std::uint8_t payload[] = {CMD_RESET, subCode, static_cast<std::uint8_t>(value >> 8),
                                    static_cast<std::uint8_t>(value & 0xFF)};
    std::uint32_t echo = 0;
    return wordExchange(payload, sizeof payload, resetWaitMs, echo) ? echo : 0xFFFF;
}
