#pragma once

#include "line_model.h"

#include <cstdio>

// Serves the line until signalFd becomes readable: feeds what arrives to the
// model, writes each reply when it is due, and logs every frame to log.
void serveLine(int lineFd, int signalFd, LineModel& model, std::FILE* log);
