#include "serve_loop.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <optional>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// After a hangup or error the line is tried again this often; clients open
// and close the port all the time, and a real tty may come back.
constexpr int hangupRetryMs = 20;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void logRecord(std::FILE* log, const LineRecord& record) {
    std::fprintf(log, "%s\n", formatLogLine(record).c_str());
    std::fflush(log);
}

// Writes what the line takes now; if the far end's queue is full the rest is
// lost, as on a real line, and the simulator never blocks.
void sendBytes(int fd, const std::uint8_t* bytes, std::size_t count) {
    std::size_t at = 0;
    while (at < count) {
        const ssize_t written = ::write(fd, bytes + at, count - at);
        if (written > 0) {
            at += static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

// How long poll may sleep, to the microsecond so that paced bytes keep their
// spacing; nothing means until input comes.
std::optional<timespec> pollTimeout(std::optional<double> dueMs, double nowMs, bool hungUp) {
    std::optional<double> waitMs;
    if (dueMs) waitMs = std::max(0.0, *dueMs - nowMs);
    if (hungUp && (!waitMs || *waitMs > hangupRetryMs)) waitMs = hangupRetryMs;
    if (!waitMs) return std::nullopt;
    const long long ns = static_cast<long long>(*waitMs * 1e6);
    return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

}  // namespace

void serveLine(int lineFd, int signalFd, SimulatedLine& line, std::FILE* log) {
    const Clock::time_point start = Clock::now();
    bool hungUp = false;
    for (;;) {
        // A hung-up descriptor would wake poll at once, so it sits out a retry period.
        pollfd watched[2] = {{signalFd, POLLIN, 0}, {hungUp ? -1 : lineFd, POLLIN, 0}};
        const std::optional<timespec> timeout =
            pollTimeout(line.nextDueMs(), msSince(start), hungUp);
        if (ppoll(watched, 2, timeout ? &*timeout : nullptr, nullptr) < 0 && errno != EINTR) {
            return;
        }
        if (watched[0].revents & POLLIN) return;

        hungUp = false;
        if (watched[1].revents & POLLIN) {
            std::uint8_t buffer[256];
            const ssize_t got = ::read(lineFd, buffer, sizeof buffer);
            if (got > 0) {
                for (const LineRecord& record :
                     line.receive(buffer, static_cast<std::size_t>(got), msSince(start))) {
                    logRecord(log, record);
                }
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                hungUp = true;
            }
        } else if (watched[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            hungUp = true;
        }

        std::vector<LineRecord> finished;
        const std::vector<std::uint8_t> due = line.takeDue(msSince(start), finished);
        sendBytes(lineFd, due.data(), due.size());
        // Logged once the last byte has gone.
        for (const LineRecord& record : finished) logRecord(log, record);
    }
}
