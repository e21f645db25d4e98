#include "platform.h"

#include <windows.h>

#include <io.h>

bool portPathsAllowed() { return false; }

bool isProgressTerminal(std::FILE* stream) {
    if (_isatty(_fileno(stream)) == 0) return false;
    const HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (!GetConsoleMode(console, &mode)) return false;
    return SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

bool flushToDisk(std::FILE* stream) {
    return std::fflush(stream) == 0 && _commit(_fileno(stream)) == 0;
}
