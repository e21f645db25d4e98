#pragma once

#include "child_process.h"

#include <memory>
#include <string>
#include <vector>

// zkc-sim serving COM<n> of a port folder (ZKC_PORT_DIR), with its log in
// the folder; stopped, and its link gone, when this goes.
class SimLine {
public:
    // simArgs are the simulator's own options, e.g. "--device 5:dac0=500".
    SimLine(const std::string& portDir, int comNumber, const std::string& simArgs);
    ~SimLine();

    bool ready() const { return isReady; }
    // The log lines once they have stopped growing.
    std::vector<std::string> settledLogLines() const;

private:
    std::string link;
    std::string logPath;
    std::unique_ptr<ChildProcess> process;
    bool isReady = false;
};
