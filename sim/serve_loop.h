#pragma once

#include "line_model.h"

#include <cstdio>

// Serves the line until signalFd becomes readable: feeds what arrives to the
// model, puts each reply on the line when it is due, and logs every frame to
// log. With a byte time above 0 the bytes of a reply go out one by one, each
// when a line of that speed would have delivered it, and a reply waits for
// the one before it to finish; with 0 a reply goes out whole.
void serveLine(int lineFd, int signalFd, LineModel& model, double byteTimeMs, std::FILE* log);
