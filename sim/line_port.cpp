#include "line_port.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

bool failed(const std::string& what, std::string& error) {
    error = what + ": " + std::strerror(errno);
    return false;
}

bool makeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

LinePort::~LinePort() {
    if (slaveFd >= 0) ::close(slaveFd);
    if (lineFd >= 0) ::close(lineFd);
}

bool LinePort::openPseudoTerminal(std::string& error) {
    lineFd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (lineFd < 0) return failed("posix_openpt", error);
    if (grantpt(lineFd) != 0 || unlockpt(lineFd) != 0) return failed("grantpt", error);
    char name[256];
    if (ptsname_r(lineFd, name, sizeof name) != 0) return failed("ptsname", error);
    linePath = name;
    slaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveFd < 0) return failed(linePath, error);
    if (!makeRaw(slaveFd)) return failed(linePath, error);
    return true;
}

bool LinePort::openTty(const std::string& path, std::string& error) {
    linePath = path;
    lineFd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (lineFd < 0) return failed(path, error);
    if (!makeRaw(lineFd)) return failed(path, error);
    return true;
}
