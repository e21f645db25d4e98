#include "line_trace.h"

#include "frame_meaning.h"

#include <vector>

LineTrace::LineTrace(std::FILE* stream) : stream(stream), start(std::chrono::steady_clock::now()) {}

void LineTrace::line(const std::string& port, bool sent, const std::string& meaning,
                     const std::uint8_t* bytes, std::size_t count) {
    // The clock is read under the lock, so that the lines of ports traced at
    // once stand in the order of their times.
    const std::lock_guard<std::mutex> lock(writing);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stream, "%.3f %s %s %s frame=%s\n", ms, port.c_str(), sent ? "tx" : "rx",
                 meaning.c_str(), hexBytes(bytes, count).c_str());
    std::fflush(stream);
}

void PortTrace::frameSent(std::uint8_t address, const std::uint8_t* payload,
                          std::uint8_t payloadLength, const std::uint8_t* frame,
                          std::size_t frameLength, std::uint32_t written) {
    std::string meaning = requestMeaning(
        address, parseCommand(std::vector<std::uint8_t>(payload, payload + payloadLength)), false);
    // A port that did not open takes nothing; the trace says so.
    if (written < frameLength) meaning += " unsent=" + std::to_string(frameLength - written);
    trace.line(port, true, meaning, frame, frameLength);
}

void PortTrace::replyRead(std::uint8_t address, const ReplyReading& reading) {
    if (reading.echoLength > 0)
        trace.line(port, false, "echo", reading.arrived, reading.echoLength);
    const std::string meaning =
        reading.resultCount > 0
            ? replyMeaning(address, std::vector<std::uint8_t>(reading.result,
                                                              reading.result + reading.resultCount))
            : "addr=" + std::to_string(address) + " no-answer";
    trace.line(port, false, meaning, reading.arrived + reading.echoLength,
               reading.count - reading.echoLength);
}
