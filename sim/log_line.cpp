#include "log_line.h"

#include <cstdio>

namespace {

std::string printed(const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::string requestMeaning(std::uint8_t address, const std::optional<Command>& command,
                           bool noDevice) {
    std::string meaning = "addr=" + std::to_string(address);
    if (!command) return meaning + " rejected";
    meaning += " ";
    meaning += command->name;
    if (command->reg) meaning += printed(" reg=0x%04X", *command->reg);
    if (command->value) meaning += " value=" + std::to_string(*command->value);
    if (noDevice) meaning += " no-device";
    return meaning;
}

std::string replyMeaning(std::uint8_t address, const std::vector<std::uint8_t>& result) {
    const unsigned value = result.size() == 1 ? result[0] : result[0] * 256u + result[1];
    return "addr=" + std::to_string(address) + (result.size() == 1 ? " byte=" : " word=") +
           std::to_string(value);
}

LineRecord echoRecord(std::vector<std::uint8_t> bytes) {
    return {0, true, "echo", std::move(bytes)};
}

std::string formatLogLine(const LineRecord& record) {
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", record.atMs);
    std::string line = time;
    line += record.sent ? " tx " : " rx ";
    line += record.meaning;
    line += " frame=";
    for (std::size_t i = 0; i < record.bytes.size(); ++i) {
        if (i > 0) line += ' ';
        line += printed("%02X", record.bytes[i]);
    }
    return line;
}
