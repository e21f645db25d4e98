#pragma once

#include "log_line.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// What the line carries back to the client, one item after the other in the
// order they go out on the wire. An item goes out when it is due and the
// line has finished the one before it; its bytes follow each other at the
// item's own byte time (0: all at once). Pure: the caller says what time it
// is.
class LineStream {
public:
    // Items due at the same time go out in the order they were added.
    void add(double dueMs, LineRecord record, double byteTimeMs);
    // The bytes whose time has come by nowMs, in line order. The records of
    // items whose last byte is among them are appended to finished, stamped
    // with nowMs.
    std::vector<std::uint8_t> takeDue(double nowMs, std::vector<LineRecord>& finished);
    // When the next byte is due; nothing when there is nothing to send.
    std::optional<double> nextDueMs() const;

private:
    struct Item {
        double dueMs;
        LineRecord record;
        double byteTimeMs;
    };
    // The item on the line: when each of its bytes is due, and how many have gone.
    struct Transmission {
        LineRecord record;
        std::vector<double> byteDueMs;
        std::size_t sent = 0;
    };

    std::vector<Item> pending;  // by due time
    std::optional<Transmission> onLine;
    double lineFreeMs = 0;
};
