#include "line_timing.h"

#include "protocol.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool isMarker(const LogEntry& entry) {
    return !entry.sent && entry.meaning.find(" rejected") != std::string::npos;
}

struct Wait {
    const char* command;
    std::uint32_t ms;
};

// The waits of the device link's commands; CMD_H and CMD_I have none.
constexpr Wait waits[] = {{"CMD_READ_BYTE", readByteWaitMs},
                          {"CMD_READ_WORD", readWordWaitMs},
                          {"CMD_WRITE_WORD", writeWordWaitMs},
                          {"CMD_RESET", resetWaitMs}};

}  // namespace

const std::uint8_t markerFrame[4] = {0x1F, 0x22, 0x23, 0x00};

std::optional<LogEntry> parseLogLine(const std::string& line) {
    char* end = nullptr;
    const double ms = std::strtod(line.c_str(), &end);
    if (end == line.c_str()) return std::nullopt;
    const std::string rest(end);
    LogEntry entry;
    entry.ms = ms;
    if (rest.compare(0, 4, " rx ") == 0) {
        entry.sent = false;
    } else if (rest.compare(0, 4, " tx ") == 0) {
        entry.sent = true;
    } else {
        return std::nullopt;
    }
    const std::size_t frame = rest.find(" frame=");
    entry.meaning = rest.substr(4, frame == std::string::npos ? std::string::npos : frame - 4);
    return entry;
}

std::vector<LogEntry> parseLog(const std::vector<std::string>& lines) {
    std::vector<LogEntry> log;
    for (const std::string& line : lines) {
        if (auto entry = parseLogLine(line)) log.push_back(*entry);
    }
    return log;
}

std::uint32_t requestWaitMs(const std::string& meaning) {
    for (const Wait& wait : waits) {
        const std::string name = std::string(" ") + wait.command;
        const std::size_t at = meaning.find(name);
        if (at != std::string::npos &&
            (at + name.size() == meaning.size() || meaning[at + name.size()] == ' ')) {
            return wait.ms;
        }
    }
    return 0;
}

std::optional<std::vector<RunOverhead>> overheadOfRuns(const std::vector<LogEntry>& log,
                                                       const std::vector<RunClock>& runs) {
    std::vector<std::size_t> markers;
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (isMarker(log[i])) markers.push_back(i);
    }
    if (markers.size() < 2 * runs.size()) return std::nullopt;

    std::vector<RunOverhead> result;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const LogEntry& before = log[markers[2 * k]];
        const LogEntry& after = log[markers[2 * k + 1]];
        // Each edge of the run is put on the line's clock by the marker next
        // to it, so a small drift between the two clocks does not add up.
        const double startOnLine = runs[k].startMs + (before.ms - runs[k].markerBeforeMs);
        const double endOnLine = runs[k].endMs + (after.ms - runs[k].markerAfterMs);

        RunOverhead run;
        const LogEntry* first = nullptr;
        const LogEntry* last = nullptr;
        for (std::size_t i = markers[2 * k] + 1; i < markers[2 * k + 1]; ++i) {
            const LogEntry& entry = log[i];
            if (entry.sent) {
                if (last) run.replyLineMs = std::max(run.replyLineMs, entry.ms - last->ms);
                continue;
            }
            if (!first) first = &entry;
            if (last) run.betweenMs += entry.ms - last->ms - requestWaitMs(last->meaning);
            run.waitsMs += requestWaitMs(entry.meaning);
            last = &entry;
            ++run.requests;
        }
        if (!first) {
            run.beforeMs = endOnLine - startOnLine;
        } else {
            run.beforeMs = first->ms - startOnLine;
            run.afterMs = endOnLine - last->ms - requestWaitMs(last->meaning);
        }
        result.push_back(run);
    }
    return result;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
