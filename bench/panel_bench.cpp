// Times the real main panel's actions under Wine, in this process as the
// Windows tier drives it, against zkc-sim (paced at 9600 baud) on COM1, and
// prints a row of the benchmark table for each. Each action is sent the
// WM_COMMAND its button sends, on the panel's own thread, and timed there.
// Needs ZKC_SIM, ZKC_SCRATCH and WINEPREFIX, as the Windows tier does.

#include "bench_table.h"
#include "device_session.h"
#include "line_timing.h"
#include "panel_driver.h"
#include "resource_ids.h"
#include "serial_port.h"
#include "sim_process.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int comNumber = 1;

double nowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

// Writes the marker frame on its own open of the port; the time it went.
double writeMarker() {
    SerialPort port;
    port.open(comNumber, 9600);
    const double before = nowMs();
    port.writeBytes(markerFrame, sizeof markerFrame, 2000);
    const double after = nowMs();
    port.close();
    return (before + after) / 2;
}

struct Scenario {
    const char* action;
    const char* devices;  // zkc-sim's device options
    int button;
    double boundMs;
    int requests;
    int runs;
};

// The waits of each action: a probe read, a word read or write, a reset,
// and every try of an address without a device waits its probe time; the
// requests are the bursts' frames and one per try.
Scenario scenarios(int index, int runs) {
    const int fewRuns = runs > 3 ? 3 : runs;
    constexpr double probe = readByteWaitMs;
    constexpr double read = readWordWaitMs;
    constexpr int burst = openingBurstCycles;
    constexpr int tries = transactionTries;
    constexpr int addresses = highestDeviceAddress + 1;
    // A Get that finds a device: its probe and its word read, each behind a burst.
    constexpr int foundAndRead = burst + 1 + burst + 1 + closingBurstCycles;
    const Scenario all[] = {
        {"Get, device at 0", "--device 0:dac0=1234", IDC_GET_BUTTON, probe + read, foundAndRead,
         runs},
        {"Get, device at 5", "--device 5:dac0=1234", IDC_GET_BUTTON,
         5 * tries * probe + probe + read, 5 * (burst + tries) + foundAndRead, fewRuns},
        {"Set", "--device 0", IDC_SET_BUTTON, writeWordWaitMs, burst + 1 + closingBurstCycles,
         runs},
        {"Reset", "--device 0", IDC_RESET_BUTTON, resetWaitMs, 1, runs},
        {"Get, no device", "--device 0:silent", IDC_GET_BUTTON, addresses * tries * probe,
         addresses * (burst + tries), 2},
    };
    return all[index];
}
constexpr int scenarioCount = 5;

// Keeps a line's log for a reader who wants to see the gaps themselves.
void keepLog(const std::vector<std::string>& lines, const std::string& unixPath) {
    std::ofstream out(windowsPath(unixPath));
    for (const std::string& line : lines) out << line << '\n';
}

bool measure(PanelDriver& driver, const Scenario& scenario, const std::string& logCopy,
             ActionResult& result) {
    SimProcess line(comNumber, std::string("--pace ") + scenario.devices);
    if (!line.ready()) return false;
    const HWND panel = driver.panel();
    const HWND button = driver.control(scenario.button);
    std::vector<RunClock> clocks;
    for (int k = 0; k < scenario.runs; ++k) {
        // Set goes to the address a fresh panel holds.
        driver.onPanel([](MainPanel& p) { p.deviceLink.deviceAddress = 0; });
        RunClock clock;
        clock.markerBeforeMs = writeMarker();
        const bool ran = driver.onPanel([&](MainPanel&) {
            clock.startMs = nowMs();
            SendMessageW(panel, WM_COMMAND, MAKEWPARAM(scenario.button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            clock.endMs = nowMs();
        });
        clock.markerAfterMs = writeMarker();
        if (!ran) return false;
        result.totalsMs.push_back(clock.endMs - clock.startMs);
        clocks.push_back(clock);
    }
    const std::vector<std::string> lines = line.settledLogLines();
    keepLog(lines, logCopy);
    if (auto overhead = overheadOfRuns(parseLog(lines), clocks)) {
        result.overhead = *overhead;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 7;
    PanelDriver driver;
    if (!driver.start()) {
        std::fprintf(stderr, "panel_bench: the panel did not start\n");
        return 1;
    }
    int failures = 0;
    for (int i = 0; i < scenarioCount; ++i) {
        const Scenario scenario = scenarios(i, runs);
        ActionResult result{"wine", scenario.action, scenario.boundMs, scenario.requests, {}, {}};
        const std::string logCopy = scratchFolder() + "/wine-" + std::to_string(i + 1) + ".log";
        if (!measure(driver, scenario, logCopy, result)) {
            std::fprintf(stderr, "panel_bench: %s could not be measured\n", scenario.action);
            ++failures;
            continue;
        }
        std::printf("%s\n", tableRow(result).c_str());
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}
