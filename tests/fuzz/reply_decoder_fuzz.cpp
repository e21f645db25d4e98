// The reply decoder on any reply a device or a noisy line can deliver, in
// buffers sized exactly as the commands size theirs, and the frame coder
// round trip on any payload.

#include "device_link.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// A broken property is a crash, which libFuzzer keeps as a reproducer.
void require(bool property) {
    if (!property) std::abort();
}

// A command decodes the replyLength bytes it read into replyLength / 2
// bytes. libFuzzer hands over the reply in a heap buffer of its exact size
// and the result gets one too, so AddressSanitizer sees a single byte read
// or written past either.
void decodeAsACommandDoes(const std::uint8_t* reply, std::size_t replyLength) {
    const std::unique_ptr<std::uint8_t[]> result(new std::uint8_t[replyLength / 2]);
    const std::uint8_t pairs = DeviceLink::decodeReply(reply, replyLength, result.get());
    require(pairs <= replyLength / 2);
}

// Any payload a frame can carry comes back whole from its own frame.
void roundTrip(const std::uint8_t* data, std::size_t size) {
    const auto length = static_cast<std::uint8_t>(std::min<std::size_t>(size, maxPayloadLength));
    const std::uint8_t address = size > 0 ? data[size - 1] & 0x0F : 0;
    const std::size_t frameSize = 2u * length + 4;
    const std::unique_ptr<std::uint8_t[]> frame(new std::uint8_t[frameSize]);
    require(DeviceLink::encodeFrame(address, data, length, frame.get()) == frameSize);
    require(frame[frameSize - 1] >= 0x80);

    const std::unique_ptr<std::uint8_t[]> decoded(new std::uint8_t[length]);
    require(DeviceLink::decodeReply(frame.get(), frameSize, decoded.get()) == length);
    require(std::equal(data, data + length, decoded.get()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // No command reads more than a frame buffer holds.
    if (size > frameBufferSize) return -1;
    decodeAsACommandDoes(data, size);
    roundTrip(data, size);
    return 0;
}
