#include "simulated_line.h"

#include "line_pace.h"

SimulatedLine::SimulatedLine(const std::vector<DeviceConfig>& devices, const LineSettings& settings)
    : model(devices, settings.replyForm), settings(settings) {}

std::vector<LineRecord> SimulatedLine::receive(const std::uint8_t* data, std::size_t count,
                                               double nowMs) {
    // The echo is on the wire while the request is, so it goes ahead of any
    // reply to it.
    if (settings.echo && count > 0) {
        stream.add(nowMs, echoRecord(std::vector<std::uint8_t>(data, data + count)),
                   byteTimeAt9600Ms);
    }
    LineOutput output = model.receive(data, count, nowMs);
    for (Reply& reply : output.replies) {
        stream.add(reply.dueMs, std::move(reply.record), settings.replyByteTimeMs);
    }
    return std::move(output.received);
}

std::vector<std::uint8_t> SimulatedLine::takeDue(double nowMs, std::vector<LineRecord>& finished) {
    return stream.takeDue(nowMs, finished);
}
