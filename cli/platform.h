#pragma once

#include <cstdio>

// What differs between the platforms zkc runs on.

// Whether a port may be named by a device path (POSIX).
bool portPathsAllowed();
// Whether stream is a terminal that shows progress drawn in place; on a
// console that needs it, escape sequences are switched on.
bool isProgressTerminal(std::FILE* stream);
// Writes what stream has buffered and asks the system to put it on disk.
bool flushToDisk(std::FILE* stream);
