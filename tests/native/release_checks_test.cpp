// What can be checked of the shipped Windows programs without running them,
// 64-bit and 32-bit alike: the machine and subsystem, the DLLs and
// functions they import, and that the 32-bit build carries the very
// resources of the 64-bit one. The builds are named by ZKC_WINDOWS_BUILD
// and ZKC_WINDOWS32_BUILD (scripts/release-checks.sh sets them).

#include "pe_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace {

constexpr std::uint32_t rtDialog = 5;
constexpr std::uint32_t rtString = 6;
constexpr std::uint32_t rtGroupIcon = 14;
constexpr std::uint32_t rtVersion = 16;
constexpr std::uint32_t rtManifest = 24;

struct Program {
    const char* file;
    std::uint16_t subsystem;
    std::set<std::string> dlls;  // in lower case
};

const Program programs[] = {
    {"zkc-vandor.exe",
     subsystemGui,
     {"comctl32.dll", "kernel32.dll", "msvcrt.dll", "user32.dll", "winmm.dll"}},
    {"zkc.exe", subsystemConsole, {"kernel32.dll", "msvcrt.dll", "winmm.dll"}},
};

struct Build {
    const char* variable;
    std::uint16_t machine;
};

const Build builds[] = {{"ZKC_WINDOWS_BUILD", machineX86_64}, {"ZKC_WINDOWS32_BUILD", machineI386}};

std::optional<PeFile> load(const Build& build, const Program& program) {
    const char* folder = std::getenv(build.variable);
    if (folder == nullptr) {
        ADD_FAILURE() << build.variable << " names no build folder";
        return std::nullopt;
    }
    std::string error;
    std::optional<PeFile> pe = readPeFile(std::string(folder) + "/" + program.file, error);
    if (!pe) ADD_FAILURE() << error;
    return pe;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(ReleaseBuild, MachineSubsystemAndImportsOfEveryProgram) {
    for (const Build& build : builds) {
        for (const Program& program : programs) {
            SCOPED_TRACE(std::string(build.variable) + " " + program.file);
            const std::optional<PeFile> pe = load(build, program);
            if (!pe) continue;
            EXPECT_EQ(pe->machine, build.machine);
            EXPECT_EQ(pe->subsystem, program.subsystem);
            EXPECT_EQ(pe->timeStamp, 0u) << "a link time in the PE header";
            std::set<std::string> dlls;
            for (const auto& [dll, functions] : pe->imports) dlls.insert(lower(dll));
            EXPECT_EQ(dlls, program.dlls);
            // The fine timer that the fixed waits need on Windows.
            std::set<std::string> timer;
            for (const auto& [dll, functions] : pe->imports) {
                if (lower(dll) == "winmm.dll") timer = functions;
            }
            EXPECT_EQ(timer, (std::set<std::string>{"timeBeginPeriod", "timeEndPeriod"}));
        }
    }
}

TEST(ReleaseBuild, The32BitProgramsCarryTheResourcesOfThe64BitOnes) {
    for (const Program& program : programs) {
        SCOPED_TRACE(program.file);
        const std::optional<PeFile> wide = load(builds[0], program);
        const std::optional<PeFile> narrow = load(builds[1], program);
        if (!wide || !narrow) continue;
        EXPECT_FALSE(wide->resources.empty());
        EXPECT_TRUE(wide->resources == narrow->resources);
        EXPECT_EQ(wide->resources.count({rtManifest, 1, 0x0409}) +
                      wide->resources.count({rtManifest, 1, 0}),
                  1u)
            << "one manifest, resource 1 of type 24";
    }
    const std::optional<PeFile> panel = load(builds[1], programs[0]);
    if (!panel) return;
    std::set<std::pair<std::uint32_t, std::uint32_t>> kinds;
    for (const auto& [key, data] : panel->resources)
        kinds.insert({std::get<0>(key), std::get<1>(key)});
    for (auto expected : {std::pair<std::uint32_t, std::uint32_t>{rtDialog, 100},
                          {rtDialog, 102},
                          {rtString, 7},
                          {rtGroupIcon, 128},
                          {rtVersion, 1},
                          {rtManifest, 1}}) {
        EXPECT_EQ(kinds.count(expected), 1u)
            << "type " << expected.first << " id " << expected.second;
    }
}

}  // namespace
