#pragma once

#include "device_link.h"
#include "pseudo_terminal.h"
#include "simulated_line.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The simulator's pure line model behind a real port: the link opens COM1,
// a pseudo-terminal, and what it writes goes to the model, whose answers
// come back through the same port. Time is the line's own clock, which moves
// only while the link waits for a reply, so a run of exchanges takes no
// time of the machine's and repeats exactly.
class ModelLine {
public:
    ModelLine(const std::vector<DeviceConfig>& devices, const LineSettings& settings);

    // The link waits ms for a reply from address: the model takes what the
    // link has written by now, beforeExchange may change the device's
    // behaviour for this exchange, the clock moves on by ms, and what the
    // line sends back meanwhile is in the port's input when this returns.
    void waitForReply(std::uint32_t ms, std::uint8_t address, bool linkOpen);

    std::function<void(SimulatedLine&, std::uint8_t address, std::uint32_t waitMs)> beforeExchange;
    SimulatedLine& line() { return simulated; }
    double nowMs() const { return clockMs; }
    // Every frame, echo and reply so far, stamped with the line's clock.
    const std::vector<LineRecord>& log() const { return records; }

private:
    void takeWhatTheLinkWrote(bool untilRequest);

    PortFolder folder;
    PseudoTerminal port{folder.path(), 1};
    SimulatedLine simulated;
    double clockMs = 0;
    std::vector<LineRecord> records;
};

// A device link whose waits are the model line's.
class ModelLink : public DeviceLink {
public:
    explicit ModelLink(ModelLine& line) : line(line) {}

protected:
    void waitForReply(std::uint32_t ms) override { line.waitForReply(ms, deviceAddress, isOpen()); }

private:
    ModelLine& line;
};
