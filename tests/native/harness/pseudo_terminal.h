#pragma once

#include <string>

// A pseudo-terminal pair whose slave side is reachable as COM<n> through a
// folder of comN links, the way the port classes find ports.
class PseudoTerminal {
public:
    PseudoTerminal(const std::string& portDir, int comNumber);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // The far end of the line: what the port writes arrives here.
    int master() const { return masterFd; }
    const std::string& slavePath() const { return slave; }
    // Waits up to timeoutMs for count bytes from the port; returns them.
    std::string readFromPort(std::size_t count, int timeoutMs = 1000) const;
    void writeToPort(const std::string& bytes) const;
    // Writes to the port and returns once its input queue holds the bytes,
    // so that a read right after finds them; false if they never got there.
    bool deliverToPort(const std::string& bytes) const;

private:
    int masterFd;
    int holderFd;  // keeps the slave alive while the port is closed
    std::string slave;
    std::string link;
};

// A scratch folder of comN links, set as the port folder for the test.
class PortFolder {
public:
    PortFolder();
    ~PortFolder();
    const std::string& path() const { return dir; }

private:
    std::string dir;
};

int openDescriptorCount();
