#pragma once

#include <string>
#include <vector>

// A zkc-sim process (a Linux program, started through Wine) serving COM<n>
// of this test's Wine prefix. Wine hands back no handle for a Unix process,
// so it is watched through the files it makes: the port link and its log.
class SimProcess {
public:
    // deviceArgs are the simulator's own options, e.g. "--device 5:dac0=500".
    SimProcess(int comNumber, const std::string& deviceArgs);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // True once the port link exists.
    bool ready() const { return isReady; }
    // The simulator's log lines so far.
    std::vector<std::string> logLines() const;
    // The log lines once they have stopped growing: the last frames a
    // program wrote may reach the simulator a little later.
    std::vector<std::string> settledLogLines() const;
    // Ends the simulator at once, as a pulled cable would.
    void kill();

private:
    int com;
    std::string unixLog;
    std::string unixPid;
    bool isReady;
    bool running;
};

// Runs a shell script as a Unix process and waits for it to end; true
// when it ended with status 0.
bool runUnixShell(const std::string& script);
// The Windows name of a Unix path, through Wine's Z: drive.
std::string windowsPath(const std::string& unixPath);
// The Unix path of COM<n>'s link in this test's Wine prefix.
std::string portLinkPath(int comNumber);
// A Unix folder for this run's files.
std::string scratchFolder();
