// The simulator's line model on any byte stream, cut into pieces anywhere,
// with two devices answering: one with faults the input picks, one without.
// Pieces or not, the model must see the same frames and send the same
// replies, and the fault-free device's replies must decode as it logged them.

#include "frame_codec.h"
#include "line_model.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void require(bool property) {
    if (!property) std::abort();
}

struct Seen {
    std::vector<LineRecord> received;
    std::vector<LineRecord> sent;

    void add(const LineOutput& output) {
        received.insert(received.end(), output.received.begin(), output.received.end());
        for (const Reply& reply : output.replies) sent.push_back(reply.record);
    }
};

bool sameFrames(const std::vector<LineRecord>& a, const std::vector<LineRecord>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].meaning != b[i].meaning || a[i].bytes != b[i].bytes) return false;
    }
    return true;
}

DeviceConfig faultyDevice(FuzzedDataProvider& input) {
    DeviceConfig config;
    config.address = input.ConsumeIntegralInRange<std::uint8_t>(0, 15);
    config.registers[REG_DAC0] = input.ConsumeIntegral<std::uint16_t>();
    DeviceFaults& faults = config.faults;
    faults.failWord = input.ConsumeIntegralInRange<std::uint32_t>(0, 2);
    faults.failWrite = input.ConsumeIntegralInRange<std::uint32_t>(0, 2);
    faults.lateMs = input.ConsumeIntegralInRange<std::uint32_t>(0, 500);
    faults.wrongEcho = input.ConsumeBool();
    faults.lowerCase = input.ConsumeBool();
    if (input.ConsumeBool()) faults.truncate = input.ConsumeIntegralInRange<std::size_t>(0, 12);
    faults.noise = input.ConsumeIntegralInRange<std::size_t>(0, 4);
    return config;
}

// The fault-free device's replies, decoded as a client reads them, give the
// value the simulator logged for them.
void checkReplies(const std::vector<LineRecord>& sent, std::uint8_t address) {
    const std::string prefix = "addr=" + std::to_string(address) + " ";
    for (const LineRecord& record : sent) {
        if (record.meaning.compare(0, prefix.size(), prefix) != 0) continue;
        std::uint8_t result[frameBufferSize / 2];
        const std::uint8_t count =
            codec::decodeReply(record.bytes.data(), record.bytes.size(), result);
        require(count == 1 || count == 2);
        require(replyMeaning(address, std::vector<std::uint8_t>(result, result + count)) ==
                record.meaning);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const DeviceConfig faulty = faultyDevice(input);
    DeviceConfig plain;
    plain.address = static_cast<std::uint8_t>((faulty.address + 1) % 16);
    const std::vector<DeviceConfig> devices{faulty, plain};
    const ReplyForm form = input.ConsumeBool() ? ReplyForm::addressed : ReplyForm::bare;

    LineModel inPieces(devices, form);
    Seen pieces;
    std::vector<std::uint8_t> stream;
    double nowMs = 0;
    while (input.remaining_bytes() > 0) {
        const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 40);
        const std::vector<std::uint8_t> piece = input.ConsumeBytes<std::uint8_t>(length);
        pieces.add(inPieces.receive(piece.data(), piece.size(), nowMs));
        stream.insert(stream.end(), piece.begin(), piece.end());
        nowMs += 1.5;
    }
    for (const LineRecord& record : pieces.received) {
        require(record.bytes.size() <= frameBufferSize);
    }
    // zkc-sim logs every frame both ways.
    for (const auto* records : {&pieces.received, &pieces.sent}) {
        for (const LineRecord& record : *records) formatLogLine(record);
    }
    checkReplies(pieces.sent, plain.address);

    LineModel whole(devices, form);
    Seen once;
    once.add(whole.receive(stream.data(), stream.size(), 0));
    require(sameFrames(pieces.received, once.received));
    require(sameFrames(pieces.sent, once.sent));
    return 0;
}
