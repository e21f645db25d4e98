#pragma once

#include "simulated_line.h"

#include <cstdio>

// Serves the line until signalFd becomes readable: feeds what arrives to the
// simulated line, puts what it sends back on the line when it is due, and
// logs every frame to log.
void serveLine(int lineFd, int signalFd, SimulatedLine& line, std::FILE* log);
