#include "line_stream.h"

#include "line_pace.h"

#include <algorithm>

void LineStream::add(double dueMs, LineRecord record, double byteTimeMs) {
    const auto later =
        std::upper_bound(pending.begin(), pending.end(), dueMs,
                         [](double due, const Item& queued) { return due < queued.dueMs; });
    pending.insert(later, Item{dueMs, std::move(record), byteTimeMs});
}

std::optional<double> LineStream::nextDueMs() const {
    if (onLine) return onLine->byteDueMs[onLine->sent];
    if (!pending.empty()) return pending.front().dueMs;
    return std::nullopt;
}

std::vector<std::uint8_t> LineStream::takeDue(double nowMs, std::vector<LineRecord>& finished) {
    std::vector<std::uint8_t> bytes;
    for (;;) {
        if (!onLine && !pending.empty() && pending.front().dueMs <= nowMs) {
            Item next = std::move(pending.front());
            pending.erase(pending.begin());
            onLine = Transmission{std::move(next.record), {}, 0};
            onLine->byteDueMs = byteArrivalTimes(next.dueMs, lineFreeMs,
                                                 onLine->record.bytes.size(), next.byteTimeMs);
        }
        if (!onLine) break;
        std::size_t due = onLine->sent;
        while (due < onLine->byteDueMs.size() && onLine->byteDueMs[due] <= nowMs) ++due;
        bytes.insert(bytes.end(), onLine->record.bytes.begin() + onLine->sent,
                     onLine->record.bytes.begin() + due);
        onLine->sent = due;
        if (due < onLine->byteDueMs.size()) break;
        if (!onLine->byteDueMs.empty()) lineFreeMs = onLine->byteDueMs.back();
        onLine->record.atMs = nowMs;
        finished.push_back(std::move(onLine->record));
        onLine.reset();
    }
    return bytes;
}
