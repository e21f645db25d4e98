// The calibration plan parser on any file: it never crashes, and what it
// accepts keeps the plan's promises.

#include "plan.h"
#include "protocol.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

namespace {

void require(bool property) {
    if (!property) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t lines =
        static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    std::vector<PlanRow> rows;
    PlanError error;
    if (!parsePlan(text, true, rows, error)) {
        require(error.line <= lines);
        require(!error.what.empty());
        return 0;
    }
    require(!rows.empty());
    std::set<std::pair<std::string, unsigned>> devices;
    std::size_t lastLine = 0;
    for (const PlanRow& row : rows) {
        require(row.line > lastLine && row.line <= lines);
        lastLine = row.line;
        require(row.address <= highestDeviceAddress);
        require(row.dac0 <= highestDac0);
        require(!row.port.shown.empty() && !row.port.platformName.empty());
        require(devices.emplace(row.port.platformName, row.address).second);
    }
    return 0;
}
