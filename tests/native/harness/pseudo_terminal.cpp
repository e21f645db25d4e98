#include "pseudo_terminal.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal(const std::string& portDir, int comNumber)
    : masterFd(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)), holderFd(-1) {
    if (masterFd < 0 || grantpt(masterFd) != 0 || unlockpt(masterFd) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
    }
    slave = ptsname(masterFd);
    holderFd = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    tcgetattr(holderFd, &raw);
    cfmakeraw(&raw);
    tcsetattr(holderFd, TCSANOW, &raw);
    link = portDir + "/com" + std::to_string(comNumber);
    unlink(link.c_str());
    if (symlink(slave.c_str(), link.c_str()) != 0) ADD_FAILURE() << "no link";
}

PseudoTerminal::~PseudoTerminal() {
    unlink(link.c_str());
    ::close(holderFd);
    ::close(masterFd);
}

std::string PseudoTerminal::readFromPort(std::size_t count, int timeoutMs) const {
    std::string got;
    while (got.size() < count) {
        pollfd waitFor{masterFd, POLLIN, 0};
        if (poll(&waitFor, 1, timeoutMs) <= 0) break;
        char buffer[256];
        const ssize_t n = ::read(masterFd, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0) break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

void PseudoTerminal::writeToPort(const std::string& bytes) const {
    if (::write(masterFd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        ADD_FAILURE() << "short write to pseudo-terminal";
    }
    tcdrain(masterFd);
}

bool PseudoTerminal::deliverToPort(const std::string& bytes) const {
    int before = 0;
    if (ioctl(holderFd, FIONREAD, &before) != 0) return false;
    writeToPort(bytes);
    const int expected = before + static_cast<int>(bytes.size());
    // The pseudo-terminal moves written bytes to the port's side a moment
    // later; this waits for that, never for the test's own clock.
    for (int round = 0; round < 100000; ++round) {
        int queued = 0;
        if (ioctl(holderFd, FIONREAD, &queued) != 0) return false;
        if (queued >= expected) return true;
        if (round > 100) usleep(10);
    }
    return false;
}

PortFolder::PortFolder() {
    char pattern[] = "/tmp/zkc-ports-XXXXXX";
    if (mkdtemp(pattern) == nullptr) ADD_FAILURE() << "no scratch folder";
    dir = pattern;
    setenv("ZKC_PORT_DIR", dir.c_str(), 1);
}

PortFolder::~PortFolder() {
    unsetenv("ZKC_PORT_DIR");
    rmdir(dir.c_str());
}

int openDescriptorCount() {
    int count = 0;
    DIR* fds = opendir("/proc/self/fd");
    while (readdir(fds) != nullptr) ++count;
    closedir(fds);
    return count;
}
