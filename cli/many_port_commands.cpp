// scan and apply: every port on a thread of its own with objects of its
// own, the addresses of one port one after the other.

#include "commands.h"
#include "exit_status.h"
#include "port_work.h"
#include "report.h"

#include <algorithm>
#include <thread>

namespace {

// Runs work(i) for every port at the same time; returns when all are done.
template <typename Work>
void onEveryPort(std::size_t ports, Work work) {
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < ports; ++i) threads.emplace_back(work, i);
    for (std::thread& thread : threads) thread.join();
}

std::vector<PortName> scannedPorts(const Arguments& args) {
    if (!args.ports.empty()) return args.ports;
    std::vector<PortName> ports;
    for (unsigned n = 1; n <= 9; ++n) ports.push_back(comPort(n));
    return ports;
}

PortScan scanPort(const PortName& port, PortProgress& progress, FrameObserver* trace) {
    PortWork work(port, progress, trace);
    PortScan scanned;
    scanned.port = port.shown;
    scanned.opened = work.portOpens();
    for (std::uint8_t address = 0; scanned.opened && address <= highestDeviceAddress; ++address) {
        progress.setPosition(address);
        if (!work.answersAt(address)) continue;
        progress.show("reading DAC0 at address " + std::to_string(address));
        scanned.devices.push_back({address, work.readDac0(address)});
        work.closingBurst();
    }
    progress.show("done");
    return scanned;
}

// Before, write, read back, for one row of a plan.
RowOutcome applyRow(const PlanRow& row, PortWork& work, PortProgress& progress) {
    RowOutcome outcome{row.line, row.port.shown, row.address, {}, row.dac0, {}, "no-answer"};
    const std::string where =
        "line " + std::to_string(row.line) + ", address " + std::to_string(row.address) + ": ";
    progress.show(where + "reading DAC0");
    outcome.before = work.readDac0(row.address);
    if (outcome.before) {
        progress.show(where + "writing " + std::to_string(row.dac0));
        if (!work.writeDac0(row.address, row.dac0)) {
            outcome.result = "write-failed";
        } else {
            progress.show(where + "reading back");
            outcome.readBack = work.readDac0(row.address);
            if (outcome.readBack) {
                outcome.result = *outcome.readBack == row.dac0 ? "ok" : "read-back-differs";
            }
        }
    }
    work.closingBurst();
    return outcome;
}

}  // namespace

int runScan(const Arguments& args, const Console& console) {
    const std::vector<PortName> ports = scannedPorts(args);
    std::vector<PortScan> scans(ports.size());
    {
        std::vector<std::string> names;
        for (const PortName& port : ports) names.push_back(port.shown);
        PortViews views(args, console, names);
        onEveryPort(ports.size(), [&](std::size_t i) {
            scans[i] = scanPort(ports[i], views.progress(i), views.trace(i));
        });
    }
    std::fputs((args.json ? scanJson(scans) : scanText(scans)).c_str(), console.out);
    const bool anyOpened =
        std::any_of(scans.begin(), scans.end(), [](const PortScan& scan) { return scan.opened; });
    const bool anyDevice = std::any_of(scans.begin(), scans.end(),
                                       [](const PortScan& scan) { return !scan.devices.empty(); });
    if (anyDevice) return exitDone;
    return anyOpened ? exitDeviceFailed : exitPortNotOpened;
}

int runApply(const Arguments& args, const std::vector<PlanRow>& plan, RecordFile* record,
             const Console& console) {
    std::vector<PortName> ports;
    for (const PlanRow& row : plan) {
        if (std::find(ports.begin(), ports.end(), row.port) == ports.end()) {
            ports.push_back(row.port);
        }
    }
    // What each port's thread did; each writes its own.
    struct PortRun {
        bool opened = false;
        bool recorded = true;
        std::vector<RowOutcome> rows;
    };
    std::vector<PortRun> runs(ports.size());
    {
        std::vector<std::string> names;
        for (const PortName& port : ports) names.push_back(port.shown);
        PortViews views(args, console, names);
        onEveryPort(ports.size(), [&](std::size_t i) {
            PortRun& run = runs[i];
            PortWork work(ports[i], views.progress(i), views.trace(i));
            run.opened = work.portOpens();
            for (const PlanRow& row : plan) {
                if (!(row.port == ports[i])) continue;
                const RowOutcome outcome =
                    run.opened ? applyRow(row, work, views.progress(i))
                               : RowOutcome{row.line, row.port.shown, row.address, {}, row.dac0,
                                            {},       "no-answer"};
                // A row that cannot be recorded stops the port: the record
                // must hold every row that was done.
                if (record != nullptr && !record->append(outcome)) {
                    run.recorded = false;
                    break;
                }
                run.rows.push_back(outcome);
            }
            views.progress(i).show("done");
        });
    }
    std::vector<RowOutcome> outcomes;
    for (const PortRun& run : runs)
        outcomes.insert(outcomes.end(), run.rows.begin(), run.rows.end());
    std::sort(outcomes.begin(), outcomes.end(),
              [](const RowOutcome& a, const RowOutcome& b) { return a.line < b.line; });
    std::fputs((args.json ? applyJson(outcomes) : applyText(outcomes)).c_str(), console.out);

    int status = exitDone;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (!runs[i].opened) {
            std::fprintf(console.err, "zkc: %s: cannot be opened\n", ports[i].shown.c_str());
            status = exitPortNotOpened;
        }
        if (!runs[i].recorded) {
            std::fprintf(console.err, "zkc: %s: the record could not be written; stopped\n",
                         ports[i].shown.c_str());
        }
    }
    if (status != exitDone) return status;
    const bool allDone = outcomes.size() == plan.size() &&
                         std::all_of(outcomes.begin(), outcomes.end(),
                                     [](const RowOutcome& row) { return row.result == "ok"; });
    return allDone ? exitDone : exitDeviceFailed;
}
