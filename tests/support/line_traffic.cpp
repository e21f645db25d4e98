#include "line_traffic.h"

#include "device_session.h"

#include <sstream>

namespace {

// "<ms> rx addr=<n> <KIND> ..." gives "<n>:<KIND>"; other lines give "".
std::string requestOf(const std::string& line) {
    std::istringstream words(line);
    std::string time, direction, address, kind;
    words >> time >> direction >> address >> kind;
    if (direction != "rx" || address.rfind("addr=", 0) != 0) return "";
    return address.substr(5) + ":" + kind;
}

void append(std::string& summary, const std::string& request, int count) {
    if (count == 0) return;
    if (!summary.empty()) summary += ' ';
    summary += request;
    if (count > 1) summary += "*" + std::to_string(count);
}

}  // namespace

std::string requestSummary(const std::vector<std::string>& logLines) {
    std::string summary;
    std::string last;
    int count = 0;
    for (const std::string& line : logLines) {
        const std::string request = requestOf(line);
        if (request.empty()) continue;
        if (request != last) {
            append(summary, last, count);
            last = request;
            count = 0;
        }
        ++count;
    }
    append(summary, last, count);
    return summary;
}

std::string silentPoll(int first, int last) {
    std::string summary;
    for (int address = first; address <= last; ++address) {
        const std::string a = std::to_string(address);
        append(summary, a + ":CMD_I", openingBurstCycles);
        append(summary, a + ":CMD_READ_BYTE", transactionTries);
    }
    return summary;
}
