#include "line_model.h"

#include <algorithm>

namespace {

template <typename Devices>
auto findDevice(Devices& devices, std::uint8_t address) {
    const auto found = std::find_if(devices.begin(), devices.end(),
                                    [address](const Device& d) { return d.address() == address; });
    return found == devices.end() ? nullptr : &*found;
}

}  // namespace

LineModel::LineModel(const std::vector<DeviceConfig>& configs, ReplyForm form)
    : devices(configs.begin(), configs.end()), replyForm(form) {}

const Device* LineModel::device(std::uint8_t address) const { return findDevice(devices, address); }

Device* LineModel::device(std::uint8_t address) { return findDevice(devices, address); }

LineOutput LineModel::receive(const std::uint8_t* data, std::size_t count, double nowMs) {
    LineOutput output;
    for (std::size_t i = 0; i < count; ++i) {
        if (auto frame = reader.push(data[i])) handle(*frame, nowMs, output);
    }
    return output;
}

void LineModel::handle(const ReceivedFrame& frame, double nowMs, LineOutput& output) {
    const std::optional<Command> command = frame.valid ? parseCommand(frame.payload) : std::nullopt;
    Device* target = findDevice(devices, frame.address);
    output.received.push_back(
        {nowMs, false, requestMeaning(frame.address, command, command && !target), frame.bytes});
    if (!command || !target) return;

    const auto result = target->execute(*command);
    if (!result) return;
    Reply reply;
    reply.dueMs = nowMs + target->faults().lateMs;
    reply.record = {reply.dueMs, true, replyMeaning(frame.address, *result),
                    target->replyBytes(*result, replyForm)};
    output.replies.push_back(reply);
}
