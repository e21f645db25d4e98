#pragma once

#include <optional>
#include <string>

// A port as the command line names it: COM<n> or plain n, n from 1 to 255,
// or where the platform has them a device path (/dev/ttyUSB0,
// /dev/serial/by-id/...).
struct PortName {
    std::string shown;         // in messages and output: COM<n>, or the path as given
    std::string platformName;  // what the port classes open: \\.\COM<n>, or the path

    bool operator==(const PortName& other) const { return platformName == other.platformName; }
};

constexpr unsigned highestPortNumber = 255;

// COM<number>, number from 1 to highestPortNumber.
PortName comPort(unsigned number);
// The port text names; nothing, with the reason in error, when it names none.
std::optional<PortName> parsePort(const std::string& text, bool pathsAllowed, std::string& error);
