#include "device_link.h"

#include "frame_codec.h"

namespace {

std::uint16_t wordOf(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] * 256 + bytes[1]);
}

}  // namespace

std::uint8_t DeviceLink::hexDigit(std::uint8_t nibble) { return codec::hexDigit(nibble); }

std::uint8_t DeviceLink::hexValue(std::uint8_t character) { return codec::hexValue(character); }

void DeviceLink::sendFrame(const std::uint8_t* payload, std::uint8_t length) {
    sentLength = codec::encodeFrame(deviceAddress, payload, length, sentFrame);
    const std::uint32_t written =
        writeBytes(sentFrame, static_cast<std::uint32_t>(sentLength), transferTimeoutMs);
    if (observer)
        observer->frameSent(deviceAddress, payload, length, sentFrame, sentLength, written);
}

// Everything that has arrived is read, so that an echo of the request is
// found wherever it lies; on a line without echo the reply is the first
// replyLength bytes, as it always was. Bytes that decode but cannot be this
// device's answer to this command (a late reply of another device or of
// another command) count as no reply, so they are never shown as a value.
std::uint8_t DeviceLink::receiveFrame(std::uint8_t* result, std::uint8_t replyLength) {
    std::uint8_t arrived[portQueueSize];
    const std::uint32_t count = readBytes(arrived, portQueueSize, transferTimeoutMs);
    const std::optional<std::size_t> start =
        codec::replyStart(arrived, count, sentFrame, sentLength);
    // An echo still arriving: all of it is echo, and no reply has come.
    const std::size_t echoLength = start ? *start : count;
    const std::uint8_t* reply = arrived + echoLength;
    const std::size_t available = count - echoLength;
    std::uint8_t decoded = 0;
    if (available >= replyLength &&
        codec::isAnswerFrom(reply, replyLength, available, deviceAddress)) {
        decoded = codec::decodeReply(reply, replyLength, result);
    }
    if (observer) {
        observer->replyRead(deviceAddress, {arrived, count, echoLength, result, decoded});
    }
    return decoded;
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
    const std::uint8_t payload[] = {
        CMD_WRITE_WORD, static_cast<std::uint8_t>(reg >> 8), static_cast<std::uint8_t>(reg & 0xFF),
        static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)};
    std::uint32_t echo = 0;
    return wordExchange(payload, sizeof payload, writeWordWaitMs, echo) && echo == value;
}

std::uint32_t DeviceLink::sendReset(std::uint8_t subCode, std::uint16_t value) {
    const std::uint8_t payload[] = {CMD_RESET, subCode, static_cast<std::uint8_t>(value >> 8),
                                    static_cast<std::uint8_t>(value & 0xFF)};
    std::uint32_t echo = 0;
    return wordExchange(payload, sizeof payload, resetWaitMs, echo) ? echo : noResetEcho;
}
