// Times the device transactions natively against zkc-sim on COM1 (found
// through ZKC_PORT_DIR) and prints a row of the benchmark table for each:
// one word read, one word write, one opening burst, as the shared session
// makes them for the panel and the command line.

#include "bench_table.h"
#include "device_link.h"
#include "device_session.h"
#include "line_timing.h"
#include "named_port.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint8_t portNumber = 1;

double nowMs() {
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// Writes the marker frame on its own open of the port; the time it went.
double writeMarker() {
    SerialPort port;
    port.open(portNumber, lineBaudRate);
    const double before = nowMs();
    port.writeBytes(markerFrame, sizeof markerFrame, transferTimeoutMs);
    const double after = nowMs();
    port.close();
    return (before + after) / 2;
}

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct Exchange {
    const char* name;
    double boundMs;
    int requests;
    std::function<void(DeviceSession&)> run;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--header") {
        std::printf("%s\n", tableHeader().c_str());
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: link_bench SIM_LOG RUNS (COM1 in $ZKC_PORT_DIR) | --header\n");
        return 2;
    }
    const std::string simLog = argv[1];
    const int runs = std::atoi(argv[2]);

    const Exchange exchanges[] = {
        {"word read", readWordWaitMs, 1,
         [](DeviceSession& session) {
             std::uint32_t word = 0;
             session.readWordRetried(REG_DAC0, word);
         }},
        {"word write", writeWordWaitMs, 1,
         [](DeviceSession& session) { session.writeWordRetried(REG_DAC0, 1234); }},
        {"opening burst", 0, openingBurstCycles,
         [](DeviceSession& session) { session.openingBurst(); }},
    };

    DeviceLink link;
    link.deviceAddress = 0;
    PortProbe probe;
    SerialPort spare;
    NamedPort port("COM" + std::to_string(portNumber));
    NoProgress progress;
    DeviceSession session(link, probe, spare, port, progress);
    std::vector<ActionResult> results;
    std::vector<RunClock> clocks;  // of every run, in order
    for (const Exchange& exchange : exchanges) {
        exchange.run(session);  // warm-up, outside the markers
        ActionResult result{"native", exchange.name, exchange.boundMs, exchange.requests, {}, {}};
        for (int k = 0; k < runs; ++k) {
            RunClock clock;
            clock.markerBeforeMs = writeMarker();
            clock.startMs = nowMs();
            exchange.run(session);
            clock.endMs = nowMs();
            clock.markerAfterMs = writeMarker();
            result.totalsMs.push_back(clock.endMs - clock.startMs);
            clocks.push_back(clock);
        }
        results.push_back(result);
    }

    // The simulator logs each frame as it comes; give the last line time to land.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto overhead = overheadOfRuns(parseLog(readLines(simLog)), clocks);
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (overhead) {
            const auto first = overhead->begin() + static_cast<std::ptrdiff_t>(i * runs);
            results[i].overhead.assign(first, first + runs);
        }
        std::printf("%s\n", tableRow(results[i]).c_str());
    }
    return 0;
}
