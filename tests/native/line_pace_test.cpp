// When the simulator's paced replies reach the far end of the line.

#include "line_pace.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct PaceCase {
    const char* name;
    double dueMs;
    double lineFreeMs;
    std::size_t count;
    double byteTimeMs;
    std::vector<double> expected;
};

TEST(LinePace, EachByteArrivesOneByteTimeAfterTheOneBefore) {
    const PaceCase cases[] = {
        {"idle line: starts when due", 100, 50, 3, 2.0, {102, 104, 106}},
        {"busy line: starts when the last reply has gone", 100, 105, 2, 2.0, {107, 109}},
        {"unpaced: the whole reply when due", 100, 0, 3, 0.0, {100, 100, 100}},
        {"unpaced after a later reply: not before the line is free", 100, 120, 2, 0.0, {120, 120}},
        {"empty reply", 100, 0, 0, 2.0, {}},
    };
    for (const PaceCase& c : cases) {
        EXPECT_EQ(byteArrivalTimes(c.dueMs, c.lineFreeMs, c.count, c.byteTimeMs), c.expected)
            << c.name;
    }
}

TEST(LinePace, AWordReplyAt9600BaudTakesSevenByteTimes) {
    const std::vector<double> times = byteArrivalTimes(0, 0, 7, byteTimeAt9600Ms);
    EXPECT_NEAR(times.front(), 1.0417, 1e-3);
    EXPECT_NEAR(times.back(), 7.2917, 1e-3);
}

}  // namespace
