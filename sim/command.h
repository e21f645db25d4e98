#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// One request the devices understand, read from a frame's payload.
struct Command {
    std::uint8_t opcode = 0;
    const char* name = "";
    std::optional<std::uint16_t> reg;    // the register commands
    std::optional<std::uint16_t> value;  // CMD_WRITE_WORD and CMD_RESET
    std::uint8_t subCode = 0;            // CMD_RESET
};

// The command of a payload; nothing when the opcode is unknown or the payload
// is not exactly as long as that command's.
std::optional<Command> parseCommand(const std::vector<std::uint8_t>& payload);
