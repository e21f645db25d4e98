#pragma once

#include <cstddef>
#include <cstdint>

// What a link read for one reply: all that had arrived, of it the line's
// echo ahead of the reply (the rest is what the reply was taken from), and
// what the reply decoded to.
struct ReplyReading {
    const std::uint8_t* arrived;
    std::size_t count;
    std::size_t echoLength;
    const std::uint8_t* result;
    std::uint8_t resultCount;  // 0: no answer
};

// Sees every frame a link writes and everything it reads for a reply, as a
// trace of the line does.
class FrameObserver {
public:
    virtual void frameSent(std::uint8_t address, const std::uint8_t* payload,
                           std::uint8_t payloadLength, const std::uint8_t* frame,
                           std::size_t frameLength, std::uint32_t written) = 0;
    virtual void replyRead(std::uint8_t address, const ReplyReading& reading) = 0;

protected:
    ~FrameObserver() = default;
};
