#include "record_file.h"

#include "platform.h"

#include <cerrno>
#include <cstring>

namespace {

std::string valueField(const std::optional<std::uint32_t>& value) {
    return value ? std::to_string(*value) : "";
}

// A field that holds a comma, a quote or a line break is quoted, with its
// quotes doubled.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string recordHeader() { return "time,port,address,before,after,readBack,result"; }

std::string recordLine(const RowOutcome& row, std::time_t at) {
    char time[32] = {};
    // std::gmtime shares its result between calls: the caller holds the
    // record's lock.
    std::strftime(time, sizeof time, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&at));
    return std::string(time) + "," + csvField(row.port) + "," + std::to_string(row.address) + "," +
           valueField(row.before) + "," + std::to_string(row.after) + "," +
           valueField(row.readBack) + "," + row.result;
}

RecordFile::~RecordFile() {
    if (file != nullptr) std::fclose(file);
}

bool RecordFile::open(const std::string& path, std::string& error) {
    file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) {
        error = "cannot write the record " + path + ": " + std::strerror(errno);
        return false;
    }
    std::fseek(file, 0, SEEK_END);
    const bool fresh = std::ftell(file) == 0;
    if (fresh && (std::fprintf(file, "%s\n", recordHeader().c_str()) < 0 || !flushToDisk(file))) {
        error = "cannot write the record " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool RecordFile::append(const RowOutcome& row) {
    const std::lock_guard<std::mutex> lock(writing);
    return std::fprintf(file, "%s\n", recordLine(row, std::time(nullptr)).c_str()) >= 0 &&
           flushToDisk(file);
}
