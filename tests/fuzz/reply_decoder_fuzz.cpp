// The reply decoder on any reply a device or a noisy line can deliver, in
// buffers sized exactly as the commands size theirs; the search for a
// request's echo and the judgement of the reply behind it, on anything that
// can arrive; and the frame coder round trip on any payload.

#include "frame_codec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

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
    const std::uint8_t pairs = codec::decodeReply(reply, replyLength, result.get());
    require(pairs <= replyLength / 2);
}

// A command reads all that arrived, finds its request's echo in it and
// judges the reply bytes after it. The input's first byte picks the device
// and the command; the rest is what arrived.
void receiveAsACommandDoes(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return;
    const std::uint8_t address = data[0] & 0x0F;
    static const std::uint8_t payloads[4][5] = {{CMD_READ_BYTE, 0x02, 0x2F},
                                                {CMD_READ_WORD, 0x02, 0x0B},
                                                {CMD_WRITE_WORD, 0x02, 0x0B, 0x01, 0xF4},
                                                {CMD_RESET, 24, 0x00, 0x64}};
    static const std::uint8_t payloadLengths[4] = {3, 3, 5, 4};
    const std::size_t command = (data[0] >> 4) % 4;
    std::uint8_t request[frameBufferSize];
    const std::size_t requestLength =
        codec::encodeFrame(address, payloads[command], payloadLengths[command], request);

    const std::uint8_t* arrived = data + 1;
    const std::size_t count = size - 1;
    const std::optional<std::size_t> start =
        codec::replyStart(arrived, count, request, requestLength);
    if (!start) return;
    require(*start <= count);
    const std::size_t replyLength = command == 0 ? byteReplyLength : wordReplyLength;
    if (count - *start < replyLength) return;
    const std::unique_ptr<std::uint8_t[]> reply(new std::uint8_t[count - *start]);
    std::copy(arrived + *start, arrived + count, reply.get());
    // An answer the link accepts decodes to the whole result, or to nothing
    // when its text is not hex: never to part of it.
    if (codec::isAnswerFrom(reply.get(), replyLength, count - *start, address)) {
        const std::unique_ptr<std::uint8_t[]> result(new std::uint8_t[replyLength / 2]);
        const std::uint8_t decoded = codec::decodeReply(reply.get(), replyLength, result.get());
        require(decoded == 0 || decoded == (replyLength - 3) / 2);
    }
}

// Any payload a frame can carry comes back whole from its own frame.
void roundTrip(const std::uint8_t* data, std::size_t size) {
    const auto length = static_cast<std::uint8_t>(std::min<std::size_t>(size, maxPayloadLength));
    const std::uint8_t address = size > 0 ? data[size - 1] & 0x0F : 0;
    const std::size_t frameSize = 2u * length + 4;
    const std::unique_ptr<std::uint8_t[]> frame(new std::uint8_t[frameSize]);
    require(codec::encodeFrame(address, data, length, frame.get()) == frameSize);
    require(frame[frameSize - 1] >= 0x80);

    const std::unique_ptr<std::uint8_t[]> decoded(new std::uint8_t[length]);
    require(codec::decodeReply(frame.get(), frameSize, decoded.get()) == length);
    require(std::equal(data, data + length, decoded.get()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Inputs up to a frame buffer's size reach the decoder's store limit;
    // longer ones would only spend the fuzzing time on longer echo searches.
    if (size > frameBufferSize) return -1;
    decodeAsACommandDoes(data, size);
    receiveAsACommandDoes(data, size);
    roundTrip(data, size);
    return 0;
}
