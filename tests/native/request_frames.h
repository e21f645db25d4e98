#pragma once

// Request frames as byte vectors, for tests that compare or send them.

#include "frame_codec.h"

#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes requestFrame(std::uint8_t address, const Bytes& payload) {
    std::uint8_t frame[frameBufferSize];
    const std::size_t size = codec::encodeFrame(address, payload.data(),
                                                static_cast<std::uint8_t>(payload.size()), frame);
    return Bytes(frame, frame + size);
}
