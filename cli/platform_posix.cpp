#include "platform.h"

#include <unistd.h>

bool portPathsAllowed() { return true; }

bool isProgressTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

bool flushToDisk(std::FILE* stream) {
    return std::fflush(stream) == 0 && fsync(fileno(stream)) == 0;
}
