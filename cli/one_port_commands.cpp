// get, set and reset: one port, one device.

#include "commands.h"
#include "exit_status.h"
#include "port_work.h"
#include "report.h"

#include <string>

namespace {

PortName chosenPort(const Arguments& args) {
    return args.ports.empty() ? comPort(1) : args.ports.front();
}

// The outcome printed, and on a failure its reason on stderr too.
int finish(const Arguments& args, const Console& console, const DeviceOutcome& outcome,
           int failureStatus, std::string (*text)(const DeviceOutcome&),
           std::string (*json)(const DeviceOutcome&)) {
    if (!outcome.failure.empty()) {
        std::fprintf(console.err, "zkc: %s: %s\n", outcome.port.c_str(), outcome.failure.c_str());
    }
    if (args.json) {
        std::fputs(json(outcome).c_str(), console.out);
    } else if (outcome.failure.empty()) {
        std::fputs(text(outcome).c_str(), console.out);
    }
    return outcome.failure.empty() ? exitDone : failureStatus;
}

const char* const notOpened = "cannot be opened";

// Puts the device's address in the outcome: the one given, or the one found
// as the panel finds it. When there is none, the failure goes there instead
// and its exit status is returned.
int addressDevice(const Arguments& args, PortWork& work, DeviceOutcome& outcome) {
    if (args.address) {
        if (!work.portOpens()) {
            outcome.failure = notOpened;
            return exitPortNotOpened;
        }
        outcome.address = args.address;
        return exitDone;
    }
    const std::uint8_t found = work.discoverDevice();
    if (found == portDidNotOpen) {
        outcome.failure = notOpened;
        return exitPortNotOpened;
    }
    if (found == noDeviceAnswered) {
        outcome.failure = "no device answered at addresses 0 to 15";
        return exitDeviceFailed;
    }
    outcome.address = found;
    return exitDone;
}

// With the device addressed, does work on it (which returns what went
// wrong, or nothing) and sends the closing burst after it.
template <typename Work>
int onTheDevice(const Arguments& args, const Console& console, const PortName& port,
                DeviceOutcome& outcome, const char* doing, Work work) {
    PortViews views(args, console, {port.shown});
    PortWork portWork(port, views.progress(0), views.trace(0));
    const int status = addressDevice(args, portWork, outcome);
    if (status != exitDone) return status;
    const std::string address = "address " + std::to_string(*outcome.address);
    views.progress(0).show(std::string(doing) + " at " + address);
    const std::string failure = work(portWork, *outcome.address);
    portWork.closingBurst();
    if (failure.empty()) return exitDone;
    outcome.failure = address + ": " + failure;
    return exitDeviceFailed;
}

}  // namespace

int runGet(const Arguments& args, const Console& console) {
    const PortName port = chosenPort(args);
    DeviceOutcome outcome;
    outcome.port = port.shown;
    const int status = onTheDevice(args, console, port, outcome, "reading DAC0",
                                   [&](PortWork& work, std::uint8_t address) {
                                       outcome.value = work.readDac0(address);
                                       return outcome.value ? "" : "reading DAC0 failed";
                                   });
    return finish(args, console, outcome, status, getText, getJson);
}

int runSet(const Arguments& args, const Console& console) {
    const PortName port = chosenPort(args);
    DeviceOutcome outcome;
    outcome.port = port.shown;
    outcome.asked = args.value;
    const int status = onTheDevice(args, console, port, outcome, "writing DAC0",
                                   [&](PortWork& work, std::uint8_t address) {
                                       return work.writeDac0(address, args.value)
                                                  ? ""
                                                  : "the device did not echo the value written";
                                   });
    return finish(args, console, outcome, status, setText, setJson);
}

int runReset(const Arguments& args, const Console& console) {
    const PortName port = chosenPort(args);
    DeviceOutcome outcome;
    outcome.port = port.shown;
    outcome.address = 0;
    outcome.asked = args.value;
    int status = exitDone;
    {
        PortViews views(args, console, {port.shown});
        PortWork work(port, views.progress(0), views.trace(0));
        if (!work.portOpens()) {
            outcome.failure = notOpened;
            status = exitPortNotOpened;
        } else {
            outcome.value = work.reset(args.value);
            if (outcome.value != std::optional<std::uint32_t>(args.value)) {
                outcome.failure = outcome.value ? "the device echoed another value"
                                                : "the device did not answer the reset";
                status = exitDeviceFailed;
            }
        }
    }
    return finish(args, console, outcome, status, resetText, resetJson);
}
