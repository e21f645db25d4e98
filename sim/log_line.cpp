#include "log_line.h"

#include <cstdio>

LineRecord echoRecord(std::vector<std::uint8_t> bytes) {
    return {0, true, "echo", std::move(bytes)};
}

std::string formatLogLine(const LineRecord& record) {
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", record.atMs);
    std::string line = time;
    line += record.sent ? " tx " : " rx ";
    line += record.meaning;
    line += " frame=" + hexBytes(record.bytes.data(), record.bytes.size());
    return line;
}
