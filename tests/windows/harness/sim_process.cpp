#include "sim_process.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>

namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Paths are checked from the Unix side: to Windows, a path whose last part
// is "com1" names the port itself, whatever the folder.
std::string whenLinkIs(bool present, const std::string& link) {
    const std::string test = present ? "[ -e '" + link + "' ]" : "[ ! -e '" + link + "' ]";
    return "for i in $(seq 500); do " + test + " && break; sleep 0.01; done; " + test;
}

}  // namespace

std::string windowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string scratchFolder() { return environmentValue("ZKC_SCRATCH"); }

std::string portLinkPath(int comNumber) {
    return environmentValue("WINEPREFIX") + "/dosdevices/com" + std::to_string(comNumber);
}

bool runUnixShell(const std::string& script) {
    // Wine gives no handle for a Unix process, so the script reports its
    // end, and its exit status, through a file.
    static int counter = 0;
    const std::string status = scratchFolder() + "/status-" +
                               std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++counter);
    std::string commandLine = "Z:\\bin\\sh -c \"" + script + "; echo $? > '" + status +
                              ".tmp'; mv '" + status + ".tmp' '" + status + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // For a Unix program Wine fills the process record with values that are
    // no handles of ours; closing them could close some other handle.
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    const std::string statusFile = windowsPath(status);
    for (int waited = 0; waited < 20000; waited += 5) {
        std::ifstream in(statusFile);
        int code = -1;
        if (in >> code) {
            in.close();
            DeleteFileA(statusFile.c_str());
            return code == 0;
        }
        Sleep(5);
    }
    return false;
}

SimProcess::SimProcess(int comNumber, const std::string& deviceArgs)
    : com(comNumber),
      // Not "com1.log": to Windows that names the port COM1 as well.
      unixLog(scratchFolder() + "/sim-port" + std::to_string(comNumber) + ".log"),
      unixPid(scratchFolder() + "/sim-port" + std::to_string(comNumber) + ".pid"),
      isReady(false),
      running(true) {
    const std::string link = portLinkPath(com);
    isReady =
        runUnixShell("rm -f '" + unixLog + "'; '" + environmentValue("ZKC_SIM") + "' --link '" +
                     link + "' --log '" + unixLog + "' " + deviceArgs +
                     " >/dev/null 2>&1 & echo $! > '" + unixPid + "'; " + whenLinkIs(true, link));
}

SimProcess::~SimProcess() {
    const std::string link = portLinkPath(com);
    if (running) runUnixShell("kill $(cat '" + unixPid + "'); " + whenLinkIs(false, link));
    runUnixShell("rm -f '" + link + "' '" + unixPid + "'");
}

void SimProcess::kill() {
    runUnixShell("kill -9 $(cat '" + unixPid + "')");
    running = false;
}

std::vector<std::string> SimProcess::logLines() const {
    std::ifstream log(windowsPath(unixLog));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> SimProcess::settledLogLines() const {
    std::vector<std::string> log = logLines();
    for (int round = 0; round < 40; ++round) {
        Sleep(50);
        std::vector<std::string> later = logLines();
        if (later == log) break;
        log = later;
    }
    return log;
}
