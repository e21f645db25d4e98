#pragma once

// What a frame means, in the words that the simulator's log and the
// command line's trace both print: the request a payload carries, and the
// result a reply carries.

#include <cstdint>
#include <optional>
#include <string>
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

// "addr=<n> <CMD_NAME>[ reg=0xHHHH][ value=<decimal>][ no-device]", or
// "addr=<n> rejected" for a frame that carries no command.
std::string requestMeaning(std::uint8_t address, const std::optional<Command>& command,
                           bool noDevice);
// "addr=<n> byte=<decimal>" for one result byte, "addr=<n> word=<decimal>"
// for two.
std::string replyMeaning(std::uint8_t address, const std::vector<std::uint8_t>& result);
// Bytes as upper-case hex pairs separated by spaces.
std::string hexBytes(const std::uint8_t* bytes, std::size_t count);
