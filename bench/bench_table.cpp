#include "bench_table.h"

#include <cstdio>

namespace {

double medianOf(const std::vector<RunOverhead>& runs, double RunOverhead::*field) {
    std::vector<double> values;
    for (const RunOverhead& run : runs) values.push_back(run.*field);
    return median(values);
}

}  // namespace

std::string tableHeader() {
    char line[256];
    std::snprintf(line, sizeof line,
                  "| %-6s | %-22s | %4s | %11s | %9s | %6s | %9s | %10s | %9s | %8s | %9s |",
                  "where", "action", "runs", "median ms", "bound ms", "ratio", "before ms",
                  "between ms", "after ms", "requests", "reply ms");
    std::string header = line;
    header +=
        "\n|--------|------------------------|------|-------------|-----------|--------|"
        "-----------|------------|-----------|----------|-----------|";
    return header;
}

std::string tableRow(const ActionResult& result) {
    const double measured = median(result.totalsMs);
    char ratio[16] = "n/a";
    if (result.boundMs > 0) std::snprintf(ratio, sizeof ratio, "%.3f", measured / result.boundMs);
    char line[320];
    // A row without the line's clock: "-" when it is not measured there,
    // "?" when its log was missing.
    auto withoutOverhead = [&](const char* mark, const char* requests) {
        std::snprintf(
            line, sizeof line,
            "| %-6s | %-22s | %4zu | %11.1f | %9.0f | %6s | %9s | %10s | %9s | %8s | %9s |",
            result.where.c_str(), result.action.c_str(), result.totalsMs.size(), measured,
            result.boundMs, ratio, mark, mark, mark, requests, mark);
        return std::string(line);
    };
    if (!result.timedOnLine) return withoutOverhead("-", "-");
    if (result.overhead.size() != result.totalsMs.size() || result.overhead.empty()) {
        return withoutOverhead("?", "no log");
    }
    std::vector<double> counts;
    for (const RunOverhead& run : result.overhead) counts.push_back(run.requests);
    const double requests = median(counts);
    char requestText[24];
    std::snprintf(requestText, sizeof requestText, "%.0f%s", requests,
                  static_cast<int>(requests) == result.expectedRequests ? "" : " (!)");
    std::snprintf(
        line, sizeof line,
        "| %-6s | %-22s | %4zu | %11.1f | %9.0f | %6s | %9.2f | %10.2f | %9.2f | %8s | %9.2f |",
        result.where.c_str(), result.action.c_str(), result.totalsMs.size(), measured,
        result.boundMs, ratio, medianOf(result.overhead, &RunOverhead::beforeMs),
        medianOf(result.overhead, &RunOverhead::betweenMs),
        medianOf(result.overhead, &RunOverhead::afterMs), requestText,
        medianOf(result.overhead, &RunOverhead::replyLineMs));
    return line;
}
