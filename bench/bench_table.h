#pragma once

#include "line_timing.h"

#include <string>
#include <vector>

// The measured runs of one action against its lower bound.
struct ActionResult {
    std::string where;  // "wine" or "native"
    std::string action;
    double boundMs = 0;  // the fixed waits of every exchange in it
    int expectedRequests = 0;
    std::vector<double> totalsMs;       // one per run
    std::vector<RunOverhead> overhead;  // one per run, from the line's clock
    bool timedOnLine = true;            // false: measured by its wall time only
};

std::string tableHeader();
// One line: runs, median, bound, ratio, and the median overhead before,
// between and after the requests. A request count other than the expected
// one is flagged, as is a missing line clock; an action timed by its wall
// time only shows no overhead.
std::string tableRow(const ActionResult& result);
