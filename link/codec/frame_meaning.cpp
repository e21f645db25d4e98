#include "frame_meaning.h"

#include "protocol.h"

#include <cstddef>
#include <cstdio>

namespace {

struct Layout {
    std::uint8_t opcode;
    const char* name;
    std::size_t length;
};

const Layout layouts[] = {
    {CMD_I, "CMD_I", 1},
    {CMD_H, "CMD_H", 1},
    {CMD_READ_BYTE, "CMD_READ_BYTE", 3},
    {CMD_READ_WORD, "CMD_READ_WORD", 3},
    {CMD_WRITE_WORD, "CMD_WRITE_WORD", 5},
    {CMD_RESET, "CMD_RESET", 4},
};

std::string printed(const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::uint16_t wordAt(const std::vector<std::uint8_t>& payload, std::size_t at) {
    return static_cast<std::uint16_t>(payload[at] << 8 | payload[at + 1]);
}

}  // namespace

std::optional<Command> parseCommand(const std::vector<std::uint8_t>& payload) {
    if (payload.empty()) return std::nullopt;
    for (const Layout& layout : layouts) {
        if (layout.opcode != payload[0]) continue;
        if (payload.size() != layout.length) return std::nullopt;
        Command command;
        command.opcode = layout.opcode;
        command.name = layout.name;
        if (layout.opcode == CMD_READ_BYTE || layout.opcode == CMD_READ_WORD ||
            layout.opcode == CMD_WRITE_WORD) {
            command.reg = wordAt(payload, 1);
        }
        if (layout.opcode == CMD_WRITE_WORD) command.value = wordAt(payload, 3);
        if (layout.opcode == CMD_RESET) {
            command.subCode = payload[1];
            command.value = wordAt(payload, 2);
        }
        return command;
    }
    return std::nullopt;
}

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

std::string hexBytes(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        text += printed("%02X", bytes[i]);
    }
    return text;
}
