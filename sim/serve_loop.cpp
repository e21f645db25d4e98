#include "serve_loop.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
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
void sendBytes(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + at, bytes.size() - at);
        if (written > 0) {
            at += static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

int pollTimeout(const std::vector<Reply>& pending, double nowMs, bool hungUp) {
    int timeout = -1;
    if (!pending.empty()) {
        timeout = static_cast<int>(std::ceil(std::max(0.0, pending.front().dueMs - nowMs)));
    }
    if (hungUp && (timeout < 0 || timeout > hangupRetryMs)) timeout = hangupRetryMs;
    return timeout;
}

}  // namespace

void serveLine(int lineFd, int signalFd, LineModel& model, std::FILE* log) {
    const Clock::time_point start = Clock::now();
    std::vector<Reply> pending;  // by due time
    bool hungUp = false;
    for (;;) {
        // A hung-up descriptor would wake poll at once, so it sits out a retry period.
        pollfd watched[2] = {{signalFd, POLLIN, 0}, {hungUp ? -1 : lineFd, POLLIN, 0}};
        if (poll(watched, 2, pollTimeout(pending, msSince(start), hungUp)) < 0 &&
            errno != EINTR) {
            return;
        }
        if (watched[0].revents & POLLIN) return;

        hungUp = false;
        if (watched[1].revents & POLLIN) {
            std::uint8_t buffer[256];
            const ssize_t got = ::read(lineFd, buffer, sizeof buffer);
            if (got > 0) {
                LineOutput output =
                    model.receive(buffer, static_cast<std::size_t>(got), msSince(start));
                for (const LineRecord& record : output.received) logRecord(log, record);
                for (Reply& reply : output.replies) {
                    const auto later = std::upper_bound(
                        pending.begin(), pending.end(), reply.dueMs,
                        [](double due, const Reply& queued) { return due < queued.dueMs; });
                    pending.insert(later, std::move(reply));
                }
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
                hungUp = true;
            }
        } else if (watched[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            hungUp = true;
        }

        while (!pending.empty() && pending.front().dueMs <= msSince(start)) {
            LineRecord record = std::move(pending.front().record);
            pending.erase(pending.begin());
            sendBytes(lineFd, record.bytes);
            record.atMs = msSince(start);
            logRecord(log, record);
        }
    }
}
