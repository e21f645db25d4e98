#pragma once

#include <cstddef>
#include <vector>

// One byte on a 9600 baud line with a start and a stop bit: 10 bits.
constexpr double byteTimeAt9600Ms = 10.0 * 1000.0 / 9600.0;

// When each byte of a reply has wholly crossed the line. The reply starts
// when it is due, or when the line is free of the one before it if that is
// later; byte k is in after k + 1 byte times. A byte time of 0 gives every
// byte the start time: the whole reply at once.
std::vector<double> byteArrivalTimes(double dueMs, double lineFreeMs, std::size_t count,
                                     double byteTimeMs);
