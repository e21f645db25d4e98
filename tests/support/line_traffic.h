#pragma once

#include <string>
#include <vector>

// What a simulated device saw on its line, as requests by address and kind
// in order, with repeats folded: "5:CMD_I*10 5:CMD_READ_BYTE 5:CMD_H*2".
std::string requestSummary(const std::vector<std::string>& logLines);
// The same for one stretch of addresses: "<a>:CMD_I*10 <a>:CMD_READ_BYTE*10"
// for every address from first to last, as discovery polls a silent line.
std::string silentPoll(int first, int last);
