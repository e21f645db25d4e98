#pragma once

// What a port object keeps of the platform, in portable form: the handle of
// the open port (a Windows HANDLE or a POSIX descriptor) and, for each
// direction, the room for the platform's record of a transfer (a Windows
// OVERLAPPED, whose event lives as long as the open; POSIX needs none, as
// its transfers end inside their call). Only the backends look inside.

#include <cstdint>

using PortHandle = std::intptr_t;

// The handle of a closed serial port: INVALID_HANDLE_VALUE, or no descriptor.
constexpr PortHandle invalidPortHandle = -1;
// The handle of a closed probe: null on Windows; on POSIX, where descriptor
// 0 is a real one, no descriptor as well. Each backend defines it.
extern const PortHandle closedProbeHandle;

struct TransferRecord {
    alignas(8) unsigned char storage[32] = {};
};
