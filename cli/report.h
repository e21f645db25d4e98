#pragma once

// What each command found, and how it is printed: a short text by default,
// or one JSON document.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// get, set and reset on one port.
struct DeviceOutcome {
    std::string port;
    std::optional<std::uint8_t> address;  // none when no device was found
    std::optional<std::uint32_t> value;   // DAC0 read or written; the reset echo
    std::uint16_t asked = 0;              // set: the value to write; reset: the value sent
    std::string failure;                  // empty when it succeeded
};

struct DeviceReading {
    std::uint8_t address;
    std::optional<std::uint32_t> dac0;  // none when its word read failed
};

struct PortScan {
    std::string port;
    bool opened = false;
    std::vector<DeviceReading> devices;
};

// One row of a plan, done.
struct RowOutcome {
    std::size_t line;
    std::string port;
    std::uint8_t address;
    std::optional<std::uint32_t> before;
    std::uint16_t after;
    std::optional<std::uint32_t> readBack;
    std::string result;  // ok, no-answer, write-failed or read-back-differs
};

std::string getText(const DeviceOutcome& outcome);
std::string getJson(const DeviceOutcome& outcome);
std::string setText(const DeviceOutcome& outcome);
std::string setJson(const DeviceOutcome& outcome);
std::string resetText(const DeviceOutcome& outcome);
std::string resetJson(const DeviceOutcome& outcome);
std::string scanText(const std::vector<PortScan>& ports);
std::string scanJson(const std::vector<PortScan>& ports);
std::string applyText(const std::vector<RowOutcome>& rows);
std::string applyJson(const std::vector<RowOutcome>& rows);

// A string as JSON writes it, quotes and escapes included.
std::string jsonString(const std::string& text);
