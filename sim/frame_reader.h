#pragma once

#include "protocol.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct ReceivedFrame {
    std::uint8_t address = 0;           // low nibble of the address byte
    std::vector<std::uint8_t> bytes;    // as received, address byte to check byte
    std::vector<std::uint8_t> payload;  // the decoded hex pairs; empty when not valid
    bool valid = false;                 // good check byte, an even count of upper-case hex
};

// Cuts request frames out of a byte stream that may hold noise and arrive in
// pieces of any size. A frame is an address byte (0x10 to 0x1F), FRAME_START,
// hex characters, FRAME_END and the check byte. Whatever came before, an
// address byte followed by FRAME_START begins a new frame, so a broken frame
// costs no more than itself.
class FrameReader {
public:
    // The frame this byte ends, if any.
    std::optional<ReceivedFrame> push(std::uint8_t byte);

private:
    // Starts over at this byte: a frame's address byte, or noise.
    void restartWith(std::uint8_t byte);

    enum class State { idle, addressed, body, check };

    State state = State::idle;
    std::vector<std::uint8_t> collected;
};
