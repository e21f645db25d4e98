#pragma once

// What zkc's exit status says, for scripts.
constexpr int exitDone = 0;  // everything asked for succeeded
constexpr int exitDeviceFailed =
    1;  // no answer, a failed read, a write not echoed, a read-back that differs
constexpr int exitBadUsage = 2;       // bad arguments, values or plan; nothing was sent
constexpr int exitPortNotOpened = 3;  // a port could not be opened
