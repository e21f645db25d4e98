#include "plan.h"

#include "decimal.h"
#include "protocol.h"

#include <map>
#include <utility>

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = line.find(',', from);
        parts.push_back(trimmed(line.substr(from, comma - from)));
        if (comma == std::string::npos) return parts;
        from = comma + 1;
    }
}

bool fail(PlanError& error, std::size_t line, const std::string& what) {
    error = {line, what};
    return false;
}

}  // namespace

bool parsePlan(const std::string& text, bool pathsAllowed, std::vector<PlanRow>& rows,
               PlanError& error) {
    rows.clear();
    std::map<std::pair<std::string, unsigned>, std::size_t> linesOf;  // of each device
    bool headerSeen = false;
    std::size_t lineNumber = 0;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(from, end - from);
        from = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line = trimmed(line);
        if (line.empty() || line[0] == '#') continue;

        const std::vector<std::string> parts = fields(line);
        if (!headerSeen) {
            if (parts != std::vector<std::string>{"port", "address", "dac0"}) {
                return fail(error, lineNumber, "the header must be port,address,dac0");
            }
            headerSeen = true;
            continue;
        }
        if (parts.size() != 3) {
            return fail(error, lineNumber,
                        "a row has three fields, port,address,dac0; this one has " +
                            std::to_string(parts.size()));
        }
        std::string portError;
        const std::optional<PortName> port = parsePort(parts[0], pathsAllowed, portError);
        if (!port) return fail(error, lineNumber, portError);
        const std::optional<unsigned> address = plainDecimal(parts[1], highestDeviceAddress);
        if (!address) return fail(error, lineNumber, "address '" + parts[1] + "' is not 0 to 15");
        const std::optional<unsigned> dac0 = plainDecimal(parts[2], highestDac0);
        if (!dac0) {
            return fail(error, lineNumber,
                        "dac0 '" + parts[2] + "' is not a plain decimal number from 0 to 4095");
        }
        const auto [same, added] =
            linesOf.emplace(std::make_pair(port->platformName, *address), lineNumber);
        if (!added) {
            return fail(error, lineNumber,
                        port->shown + " address " + parts[1] + " is on line " +
                            std::to_string(same->second) + " already");
        }
        rows.push_back({lineNumber, *port, static_cast<std::uint8_t>(*address),
                        static_cast<std::uint16_t>(*dac0)});
    }
    if (!headerSeen) return fail(error, 0, "no header port,address,dac0");
    if (rows.empty()) return fail(error, 0, "no rows after the header");
    return true;
}
