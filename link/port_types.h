#pragma once

// The platform's port handle and per-direction transfer record, so that the
// port classes have one declaration on every platform.

#include <cstdint>

#ifdef _WIN32
#include <windows.h>

using PortHandle = HANDLE;
using TransferRecord = OVERLAPPED;

inline const PortHandle invalidPortHandle = INVALID_HANDLE_VALUE;
inline const PortHandle nullPortHandle = nullptr;
#else
using PortHandle = int;

// A POSIX transfer ends inside its call; the record keeps the count it moved,
// which the call then reports, as an overlapped record does on Windows.
struct TransferRecord {
    std::uint32_t transferred;
};

inline const PortHandle invalidPortHandle = -1;
// Descriptor 0 is a real descriptor, so a closed probe holds -1 as well.
inline const PortHandle nullPortHandle = -1;
#endif
