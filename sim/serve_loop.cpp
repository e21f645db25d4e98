#include "serve_loop.h"

#include "line_pace.h"

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

// A reply on its way out: when each of its bytes is due, and how many have
// gone.
struct Transmission {
    LineRecord record;
    std::vector<double> byteDueMs;
    std::size_t sent = 0;
};

// The next moment something is due on the line, or nothing (wait for input).
// A transmission still on the line between polls has a byte left to send.
std::optional<double> nextDueMs(const std::optional<Transmission>& onLine,
                                const std::vector<Reply>& pending) {
    if (onLine) return onLine->byteDueMs[onLine->sent];
    if (!pending.empty()) return pending.front().dueMs;
    return std::nullopt;
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

void serveLine(int lineFd, int signalFd, LineModel& model, double byteTimeMs, std::FILE* log) {
    const Clock::time_point start = Clock::now();
    std::vector<Reply> pending;  // by due time
    std::optional<Transmission> onLine;
    double lineFreeMs = 0;
    bool hungUp = false;
    for (;;) {
        // A hung-up descriptor would wake poll at once, so it sits out a retry period.
        pollfd watched[2] = {{signalFd, POLLIN, 0}, {hungUp ? -1 : lineFd, POLLIN, 0}};
        const std::optional<timespec> timeout =
            pollTimeout(nextDueMs(onLine, pending), msSince(start), hungUp);
        if (ppoll(watched, 2, timeout ? &*timeout : nullptr, nullptr) < 0 && errno != EINTR) {
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

        for (;;) {
            const double nowMs = msSince(start);
            if (!onLine && !pending.empty() && pending.front().dueMs <= nowMs) {
                Reply& next = pending.front();
                onLine = Transmission{std::move(next.record), {}, 0};
                onLine->byteDueMs = byteArrivalTimes(next.dueMs, lineFreeMs,
                                                     onLine->record.bytes.size(), byteTimeMs);
                pending.erase(pending.begin());
            }
            if (!onLine) break;
            std::size_t due = onLine->sent;
            while (due < onLine->byteDueMs.size() && onLine->byteDueMs[due] <= nowMs) ++due;
            sendBytes(lineFd, onLine->record.bytes.data() + onLine->sent, due - onLine->sent);
            onLine->sent = due;
            if (due < onLine->byteDueMs.size()) break;
            // Logged once the last byte has gone.
            onLine->record.atMs = msSince(start);
            logRecord(log, onLine->record);
            if (!onLine->byteDueMs.empty()) lineFreeMs = onLine->byteDueMs.back();
            onLine.reset();
        }
    }
}
