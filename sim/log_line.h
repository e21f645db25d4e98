#pragma once

#include "frame_meaning.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One frame seen on the line. Its log line is
//   <ms> rx|tx <meaning> frame=<bytes>
// with ms since serving began to three decimals and the bytes as upper-case
// hex pairs separated by spaces. Meanings:
//   rx  addr=<n> <CMD_NAME>[ reg=0xHHHH][ value=<decimal>][ no-device]
//   rx  addr=<n> rejected            (bad check byte, bad hex, unknown command)
//   tx  addr=<n> byte=<decimal> | addr=<n> word=<decimal>
//   tx  echo                     (bytes an echoing line handed back)
// Tests and tools read these lines; change them only together.
struct LineRecord {
    double atMs = 0;
    bool sent = false;  // tx when true, rx otherwise
    std::string meaning;
    std::vector<std::uint8_t> bytes;
};

// The record of bytes an echoing line hands back.
LineRecord echoRecord(std::vector<std::uint8_t> bytes);
std::string formatLogLine(const LineRecord& record);
