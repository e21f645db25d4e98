#pragma once

#include "port_name.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class CommandKind { get, set, scan, reset, apply };

// A command line as zkc understands it.
struct Arguments {
    CommandKind command = CommandKind::get;
    std::vector<PortName> ports;          // scan: any number; the others: none or one
    std::optional<std::uint8_t> address;  // get and set
    std::uint16_t value = 0;              // set: DAC0; reset: the reset value
    std::string planPath;                 // apply
    std::string recordPath;               // apply --record
    bool json = false;
    bool trace = false;
    bool help = false;  // zkc --help, or zkc COMMAND --help
    bool commandGiven = false;
};

constexpr std::uint16_t highestResetValue = 250;

// Reads argv; nothing, with a one-line reason in error, when it is not a
// command line zkc takes.
std::optional<Arguments> parseArguments(int argc, const char* const* argv, bool pathsAllowed,
                                        std::string& error);
// The help for all of zkc, or for one command.
std::string usageText();
std::string commandUsage(CommandKind command);
