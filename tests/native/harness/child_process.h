#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// A program the test starts, with its standard output and error in files
// of the test's scratch folder; killed when it goes, if still running.
class ChildProcess {
public:
    // stdout and stderr go to <folder>/<name>.out and .err; errFd, when 0
    // or more, is the program's standard error in place of the file.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::string& folder, const std::string& name, int errFd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid > 0 || exited; }
    // The exit status (128 + signal for a signal), or -1 when it has not
    // ended within boundMs.
    int waitForExit(int boundMs);
    // Ends it with the signal and waits for it.
    void stop(int signal);
    // Sends the signal, without waiting.
    void send(int signal);
    std::string out() const;
    std::string err() const;

private:
    pid_t pid = -1;
    bool exited = false;
    std::string outPath;
    std::string errPath;
};

std::string fileText(const std::string& path);
bool pathExists(const std::string& path);
// Polls ready every 10 ms for at most boundMs; its last answer.
bool waitUntil(int boundMs, const std::function<bool()>& ready);
