#include "sim_process.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>

namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool unixFileExists(const std::string& path) {
    return GetFileAttributesA(windowsPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool waitUntil(bool wanted, const std::string& path, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (unixFileExists(path) == wanted) return true;
        Sleep(10);
    }
    return unixFileExists(path) == wanted;
}

void startUnix(const std::string& script) {
    std::string commandLine = "Z:\\bin\\sh -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        if (process.hProcess != nullptr) CloseHandle(process.hProcess);
        if (process.hThread != nullptr) CloseHandle(process.hThread);
    }
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

void runUnixShell(const std::string& script) {
    static int counter = 0;
    const std::string done = scratchFolder() + "/done-" + std::to_string(GetCurrentProcessId()) +
                             "-" + std::to_string(++counter);
    startUnix(script + "; touch " + done);
    waitUntil(true, done, 10000);
    DeleteFileA(windowsPath(done).c_str());
}

SimProcess::SimProcess(int comNumber, const std::string& deviceArgs)
    : com(comNumber),
      unixLog(scratchFolder() + "/com" + std::to_string(comNumber) + ".log"),
      unixPid(scratchFolder() + "/com" + std::to_string(comNumber) + ".pid"),
      isReady(false),
      running(true) {
    const std::string link = portLinkPath(com);
    DeleteFileA(windowsPath(unixLog).c_str());
    startUnix("'" + environmentValue("ZKC_SIM") + "' --link '" + link + "' --log '" + unixLog +
              "' " + deviceArgs + " >/dev/null 2>&1 & echo $! > '" + unixPid + "'");
    isReady = waitUntil(true, link, 10000);
}

SimProcess::~SimProcess() {
    if (running) {
        runUnixShell("kill $(cat '" + unixPid + "') 2>/dev/null");
        waitUntil(false, portLinkPath(com), 5000);
    }
    runUnixShell("rm -f '" + portLinkPath(com) + "' '" + unixPid + "'");
}

void SimProcess::kill() {
    runUnixShell("kill -9 $(cat '" + unixPid + "') 2>/dev/null");
    running = false;
}

std::vector<std::string> SimProcess::logLines() const {
    std::ifstream log(windowsPath(unixLog));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}
