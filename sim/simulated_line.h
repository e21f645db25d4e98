#pragma once

#include "line_model.h"
#include "line_stream.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// How the line behaves apart from its devices.
struct LineSettings {
    ReplyForm replyForm = ReplyForm::bare;
    double replyByteTimeMs = 0;  // 0: a reply arrives whole when due
    // Hands every byte it receives straight back, as many two-wire RS-485
    // adapters do, at 9600 baud and in one stream with the replies.
    bool echo = false;
};

// One serial line as the client sees it: the devices on it, and what comes
// back from it and when. Pure: the caller says what time it is.
class SimulatedLine {
public:
    SimulatedLine(const std::vector<DeviceConfig>& devices, const LineSettings& settings);

    // Bytes the client wrote reach the line at nowMs. Returns the log
    // records of the frames they complete.
    std::vector<LineRecord> receive(const std::uint8_t* data, std::size_t count, double nowMs);
    // The bytes that have reached the client by nowMs, since the last call;
    // the records of echoes and replies that have wholly gone go to finished.
    std::vector<std::uint8_t> takeDue(double nowMs, std::vector<LineRecord>& finished);
    std::optional<double> nextDueMs() const { return stream.nextDueMs(); }

    LineModel& devices() { return model; }

private:
    LineModel model;
    LineStream stream;
    LineSettings settings;
};
