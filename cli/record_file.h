#pragma once

#include "report.h"

#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

// The record of an apply run, one CSV line per plan row:
//   time,port,address,before,after,readBack,result
// with the time in ISO 8601 UTC and an empty field for a value not read.
std::string recordHeader();
std::string recordLine(const RowOutcome& row, std::time_t at);

// A record file that rows are appended to, from any thread. Each row is on
// disk before append returns, so a run that is cut short keeps every row
// it finished; what the file held before is never truncated or rewritten.
class RecordFile {
public:
    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens path for appending, creating it with a header line when it is
    // new or empty; on failure error says why.
    bool open(const std::string& path, std::string& error);
    bool append(const RowOutcome& row);

private:
    std::FILE* file = nullptr;
    std::mutex writing;
};
