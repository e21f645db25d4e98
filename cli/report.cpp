#include "report.h"

#include <cstdio>

namespace {

template <typename Number>
std::string number(const std::optional<Number>& value) {
    return value ? std::to_string(*value) : "null";
}

// The document of a command on one device: its port and address, the
// command's own fields, and the reason when it failed.
std::string deviceJson(const DeviceOutcome& outcome, const std::string& fields) {
    return "{\"port\": " + jsonString(outcome.port) + ", \"address\": " + number(outcome.address) +
           fields + (outcome.failure.empty() ? "" : ", \"error\": " + jsonString(outcome.failure)) +
           "}\n";
}

std::string where(const DeviceOutcome& outcome) {
    return outcome.port + ", address " + std::to_string(*outcome.address);
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string quoted = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
            quoted += escaped;
        } else {
            quoted += static_cast<char>(c);
        }
    }
    return quoted + "\"";
}

std::string getText(const DeviceOutcome& outcome) {
    return where(outcome) + ": DAC0 " + std::to_string(*outcome.value) + "\n";
}

std::string getJson(const DeviceOutcome& outcome) {
    return deviceJson(outcome, ", \"dac0\": " + number(outcome.value));
}

std::string setText(const DeviceOutcome& outcome) {
    return where(outcome) + ": DAC0 set to " + std::to_string(outcome.asked) + "\n";
}

std::string setJson(const DeviceOutcome& outcome) {
    return deviceJson(outcome, ", \"dac0\": " + std::to_string(outcome.asked) + ", \"written\": " +
                                   (outcome.failure.empty() ? "true" : "false"));
}

std::string resetText(const DeviceOutcome& outcome) {
    return where(outcome) + ": reset " + std::to_string(outcome.asked) + " echoed\n";
}

std::string resetJson(const DeviceOutcome& outcome) {
    return deviceJson(outcome, ", \"reset\": " + std::to_string(outcome.asked) +
                                   ", \"echo\": " + number(outcome.value));
}

std::string scanText(const std::vector<PortScan>& ports) {
    std::string text;
    for (const PortScan& port : ports) {
        text += port.port + ": ";
        if (!port.opened) {
            text += "cannot be opened\n";
            continue;
        }
        if (port.devices.empty()) text += "no device";
        for (std::size_t i = 0; i < port.devices.size(); ++i) {
            const DeviceReading& device = port.devices[i];
            if (i > 0) text += ", ";
            text += "address " + std::to_string(device.address) + " DAC0 " +
                    (device.dac0 ? std::to_string(*device.dac0) : "unread");
        }
        text += "\n";
    }
    return text;
}

std::string scanJson(const std::vector<PortScan>& ports) {
    std::string json = "{\"ports\": [";
    for (std::size_t p = 0; p < ports.size(); ++p) {
        const PortScan& port = ports[p];
        if (p > 0) json += ", ";
        json += "{\"port\": " + jsonString(port.port) +
                ", \"opened\": " + (port.opened ? "true" : "false") + ", \"devices\": [";
        for (std::size_t d = 0; d < port.devices.size(); ++d) {
            if (d > 0) json += ", ";
            json += "{\"address\": " + std::to_string(port.devices[d].address) +
                    ", \"dac0\": " + number(port.devices[d].dac0) + "}";
        }
        json += "]}";
    }
    return json + "]}\n";
}

std::string applyText(const std::vector<RowOutcome>& rows) {
    std::string text;
    for (const RowOutcome& row : rows) {
        text += "line " + std::to_string(row.line) + ": " + row.port + ", address " +
                std::to_string(row.address) + ": " + number(row.before) + " -> " +
                std::to_string(row.after) + ", read back " + number(row.readBack) + ": " +
                row.result + "\n";
    }
    return text;
}

std::string applyJson(const std::vector<RowOutcome>& rows) {
    std::string json = "{\"rows\": [";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RowOutcome& row = rows[i];
        if (i > 0) json += ", ";
        json += "{\"line\": " + std::to_string(row.line) + ", \"port\": " + jsonString(row.port) +
                ", \"address\": " + std::to_string(row.address) +
                ", \"before\": " + number(row.before) +
                ", \"after\": " + std::to_string(row.after) +
                ", \"readBack\": " + number(row.readBack) +
                ", \"result\": " + jsonString(row.result) + "}";
    }
    return json + "]}\n";
}
