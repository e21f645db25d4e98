#pragma once

#include "port_name.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One device of a calibration plan: which port and address, and the DAC0
// value it is to get; line is the row's line in the file, from 1.
struct PlanRow {
    std::size_t line;
    PortName port;
    std::uint8_t address;
    std::uint16_t dac0;
};

// What is wrong with a plan, and on which line (0: the file as a whole).
struct PlanError {
    std::size_t line = 0;
    std::string what;
};

// Reads a plan: a CSV text whose first line that is neither blank nor a
// comment (# first) is the header port,address,dac0, followed by one row per
// device. Every row is checked; on the first thing wrong, false with error.
bool parsePlan(const std::string& text, bool pathsAllowed, std::vector<PlanRow>& rows,
               PlanError& error);
