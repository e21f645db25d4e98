#pragma once

#include <string>

// The descriptor the simulator serves: the master side of a new
// pseudo-terminal, or an existing tty. Closed on destruction.
class LinePort {
public:
    LinePort() = default;
    ~LinePort();
    LinePort(const LinePort&) = delete;
    LinePort& operator=(const LinePort&) = delete;

    bool openPseudoTerminal(std::string& error);
    bool openTty(const std::string& path, std::string& error);

    int fd() const { return lineFd; }
    // The path clients open.
    const std::string& path() const { return linePath; }

private:
    int lineFd = -1;
    // Our own open of the pseudo-terminal's slave: while it is open the
    // master never reports EIO, however often clients close the port.
    int slaveFd = -1;
    std::string linePath;
};
