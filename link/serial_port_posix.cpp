// The platform's part of SerialPort and ProbePort over termios: the effects
// the Windows backend gets from KERNEL32, on a POSIX tty. Transfers end
// inside their call, so the transfer records stay unused.

#include "line_settings_posix.h"
#include "device_path_posix.h"
#include "probe_port.h"
#include "serial_port.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool speedFor(std::int32_t baudRate, speed_t& speed) {
    struct Rate {
        std::int32_t bitsPerSecond;
        speed_t speed;
    };
    static const Rate rates[] = {{1200, B1200},   {2400, B2400},     {4800, B4800},
                                 {9600, B9600},   {19200, B19200},   {38400, B38400},
                                 {57600, B57600}, {115200, B115200}, {230400, B230400}};
    for (const Rate& rate : rates) {
        if (rate.bitsPerSecond == baudRate) {
            speed = rate.speed;
            return true;
        }
    }
    return false;
}

// An exclusive open: the advisory lock keeps out every other open of ours
// (also from this process), TIOCEXCL keeps out other programs.
int openExclusive(const char* windowsName) {
    const std::string path = portDevicePath(windowsName, std::getenv("ZKC_PORT_DIR"));
    if (path.empty()) return -1;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::uint32_t pendingOutput(int fd) {
    int queued = 0;
    if (ioctl(fd, TIOCOUTQ, &queued) != 0 || queued < 0) return 0;
    return static_cast<std::uint32_t>(queued);
}

// Output the line has not taken by now is dropped, so the close cannot block
// on it. Only then: on a pseudo-terminal the flush also drops what the far
// end has not read yet, which the line has taken.
void closeExclusive(int fd) {
    if (pendingOutput(fd) > 0) tcflush(fd, TCOFLUSH);
    ioctl(fd, TIOCNXCL);
    ::close(fd);
}

// Writes until every byte has left the port or the time limit is reached;
// returns the bytes the line has taken.
std::uint32_t timedWrite(int fd, const std::uint8_t* data, std::uint32_t count,
                         std::uint32_t timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto msLeft = [&deadline] {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        return left.count() > 0 ? static_cast<int>(left.count()) : 0;
    };
    std::uint32_t accepted = 0;
    while (accepted < count) {
        const ssize_t n = ::write(fd, data + accepted, count - accepted);
        if (n > 0) {
            accepted += static_cast<std::uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) break;
        const int left = msLeft();
        if (left == 0) break;
        pollfd waitFor{fd, POLLOUT, 0};
        poll(&waitFor, 1, left);
    }
    while (pendingOutput(fd) > 0 && msLeft() > 0) usleep(500);
    const std::uint32_t queued = pendingOutput(fd);
    return accepted > queued ? accepted - queued : 0;
}

std::uint32_t immediateRead(int fd, std::uint8_t* buffer, std::uint32_t count) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, count);
        if (n >= 0) return static_cast<std::uint32_t>(n);
        if (errno != EINTR) return 0;
    }
}

int descriptorOf(PortHandle handle) { return static_cast<int>(handle); }

}  // namespace

const PortHandle closedProbeHandle = -1;

bool SerialPort::openDevice(const char* name, std::int32_t baudRate) {
    speed_t speed;
    if (!speedFor(baudRate, speed)) return false;
    const int fd = openExclusive(name);
    portHandle = fd;
    if (fd < 0) return false;
    opened = 1;
    termios settings;
    if (tcgetattr(fd, &settings) != 0) return false;
    makeRaw(settings, speed, false);
    if (tcsetattr(fd, TCSANOW, &settings) != 0) return false;
    // A new open starts with an empty input queue, as a Windows serial
    // driver does: a late reply of an earlier exchange must not be read as
    // the reply of the next one.
    tcflush(fd, TCIFLUSH);
    return true;
}

void SerialPort::releaseDevice() { closeExclusive(descriptorOf(portHandle)); }

std::uint32_t SerialPort::writeDevice(const void* data, std::uint32_t count,
                                      std::uint32_t timeoutMs) {
    return timedWrite(descriptorOf(portHandle), static_cast<const std::uint8_t*>(data), count,
                      timeoutMs);
}

std::uint32_t SerialPort::readDevice(void* buffer, std::uint32_t count, std::uint32_t) {
    return immediateRead(descriptorOf(portHandle), static_cast<std::uint8_t*>(buffer), count);
}

bool ProbePort::openDevice(const char* name, std::int32_t baudRate) {
    speed_t speed;
    if (!speedFor(baudRate, speed)) return false;
    const int fd = openExclusive(name);
    if (fd < 0) return false;
    // Unreadable settings are replaced by defined ones, never left as
    // whatever the stack held.
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) settings = termios{};
    makeRaw(settings, speed, true);
    if (tcsetattr(fd, TCSANOW, &settings) != 0) {
        closeExclusive(fd);
        return false;
    }
    portHandle = fd;
    opened = 1;
    return true;
}

void ProbePort::releaseDevice() { closeExclusive(descriptorOf(portHandle)); }
