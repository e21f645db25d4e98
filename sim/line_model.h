#pragma once

#include "device.h"
#include "frame_reader.h"
#include "log_line.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A reply waiting for its time; record.bytes go on the line, and record is
// logged with the time it actually went.
struct Reply {
    double dueMs = 0;
    LineRecord record;
};

struct LineOutput {
    std::vector<LineRecord> received;  // one per frame, in line order
    std::vector<Reply> replies;        // in request order
};

// The devices on one serial line: request bytes in, replies and log records
// out. It keeps no clock; the caller says when the bytes arrived.
class LineModel {
public:
    LineModel(const std::vector<DeviceConfig>& configs, ReplyForm form);

    LineOutput receive(const std::uint8_t* data, std::size_t count, double nowMs);
    // The device at an address, or nullptr.
    const Device* device(std::uint8_t address) const;
    Device* device(std::uint8_t address);

private:
    void handle(const ReceivedFrame& frame, double nowMs, LineOutput& output);

    FrameReader reader;
    std::vector<Device> devices;
    ReplyForm replyForm;
};
