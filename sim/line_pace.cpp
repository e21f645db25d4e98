#include "line_pace.h"

#include <algorithm>

std::vector<double> byteArrivalTimes(double dueMs, double lineFreeMs, std::size_t count,
                                     double byteTimeMs) {
    const double start = std::max(dueMs, lineFreeMs);
    std::vector<double> times(count);
    for (std::size_t k = 0; k < count; ++k) {
        times[k] = start + static_cast<double>(k + 1) * byteTimeMs;
    }
    return times;
}
