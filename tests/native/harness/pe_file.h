#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

// What the release checks read from a Windows executable without running
// it: its machine, subsystem, imports and resources.
struct PeFile {
    std::uint16_t machine = 0;    // 0x8664 x86-64, 0x014C i386
    std::uint16_t subsystem = 0;  // 2 GUI, 3 console
    std::uint32_t timeStamp = 0;  // of the link, in the COFF header
    // Functions imported, by DLL name as the file spells it.
    std::map<std::string, std::set<std::string>> imports;
    // Resource data by type, name and language (numeric ids only).
    std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>, std::vector<std::uint8_t>>
        resources;
};

constexpr std::uint16_t machineX86_64 = 0x8664;
constexpr std::uint16_t machineI386 = 0x014C;
constexpr std::uint16_t subsystemGui = 2;
constexpr std::uint16_t subsystemConsole = 3;

// Nothing when path is no PE file this reader understands; error says why.
std::optional<PeFile> readPeFile(const std::string& path, std::string& error);
