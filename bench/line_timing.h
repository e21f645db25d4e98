#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One line of the simulator's log: "<ms> rx|tx <meaning> frame=<hex>".
struct LogEntry {
    double ms = 0;
    bool sent = false;
    std::string meaning;
};

std::optional<LogEntry> parseLogLine(const std::string& line);
std::vector<LogEntry> parseLog(const std::vector<std::string>& lines);

// The marker frame the benchmark writes around each run: an address byte,
// FRAME_START, FRAME_END and a check byte that is wrong, so the simulator
// logs it as rejected and no device answers it.
extern const std::uint8_t markerFrame[4];

// The fixed wait the program sleeps after sending this request, 0 for a
// command without a reply.
std::uint32_t requestWaitMs(const std::string& meaning);

// One run on the program's clock: when the action began and ended, and when
// the marker frames before and after it were written.
struct RunClock {
    double markerBeforeMs = 0;
    double startMs = 0;
    double endMs = 0;
    double markerAfterMs = 0;
};

// Where one run spent its time beyond the fixed waits, on the line's clock:
// from the start to the first request, between the requests, and from the
// last request to the end (each less the waits that lie inside it).
struct RunOverhead {
    double beforeMs = 0;
    double betweenMs = 0;
    double afterMs = 0;
    double waitsMs = 0;  // sum of the fixed waits of the requests seen
    int requests = 0;
    double replyLineMs = 0;  // longest time from a request to its reply's last byte
};

// The runs of one log, in order: run k lies between the (2k)th and the
// (2k+1)th marker. Nothing when the log does not hold markers for every run.
std::optional<std::vector<RunOverhead>> overheadOfRuns(const std::vector<LogEntry>& log,
                                                       const std::vector<RunClock>& runs);

double median(std::vector<double> values);
