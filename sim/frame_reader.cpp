#include "frame_reader.h"

#include "frame_codec.h"

namespace {

bool isAddressByte(std::uint8_t byte) { return (byte & 0xF0) == 0x10; }

// Checks a whole frame (address, start, hex, end, check) and decodes it.
ReceivedFrame finish(const std::vector<std::uint8_t>& bytes) {
    ReceivedFrame frame;
    frame.address = static_cast<std::uint8_t>(bytes[0] & 0x0F);
    frame.bytes = bytes;
    const std::size_t size = bytes.size();
    if (size < 4 || bytes[size - 2] != FRAME_END || (size - 4) % 2 != 0) return frame;
    for (std::size_t i = 2; i < size - 2; ++i) {
        if (!codec::isHexDigit(bytes[i])) return frame;
    }
    if (bytes[size - 1] != codec::checkByte(bytes.data() + 1, size - 2)) return frame;
    for (std::size_t i = 2; i < size - 2; i += 2) {
        frame.payload.push_back(static_cast<std::uint8_t>(codec::hexValue(bytes[i]) << 4 |
                                                          codec::hexValue(bytes[i + 1])));
    }
    frame.valid = true;
    return frame;
}

}  // namespace

void FrameReader::restartWith(std::uint8_t byte) {
    if (isAddressByte(byte)) {
        collected.assign(1, byte);
        state = State::addressed;
    } else {
        state = State::idle;
    }
}

std::optional<ReceivedFrame> FrameReader::push(std::uint8_t byte) {
    switch (state) {
        case State::idle: restartWith(byte); return std::nullopt;
        case State::addressed:
            if (byte == FRAME_START) {
                collected.push_back(byte);
                state = State::body;
            } else {
                restartWith(byte);
            }
            return std::nullopt;
        case State::body:
            if (byte == FRAME_START && isAddressByte(collected.back())) {
                // The address byte of a new frame: what came before it is broken.
                const std::uint8_t address = collected.back();
                collected.pop_back();
                ReceivedFrame broken = finish(collected);
                collected = {address, FRAME_START};
                return broken;
            }
            if (byte != FRAME_END && collected.size() >= frameBufferSize - 2) {
                // No room left for this byte, FRAME_END and the check byte.
                ReceivedFrame overlong = finish(collected);
                restartWith(byte);
                return overlong;
            }
            collected.push_back(byte);
            if (byte == FRAME_END) state = State::check;
            return std::nullopt;
        case State::check:
            if (isAddressByte(byte)) {
                // A check byte has bit 7 set: this one was lost and a new frame begins.
                ReceivedFrame broken = finish(collected);
                restartWith(byte);
                return broken;
            }
            collected.push_back(byte);
            state = State::idle;
            return finish(collected);
    }
    return std::nullopt;
}
