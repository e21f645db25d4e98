#pragma once

#include <string>

// Where a Windows port name such as "COM3" or "\\.\COM3" lives on a POSIX
// system. With ZKC_PORT_DIR set, COM<n> is $ZKC_PORT_DIR/com<n> (the same
// rule as Wine's dosdevices folder, so tests can point it at links to
// pseudo-terminals); otherwise it is /dev/ttyS<n-1>. A name that is a path
// already (it starts with /) is that path. Other names that are not COM<n>
// with n of 1 or more map to an empty path.
std::string portDevicePath(const char* windowsName, const char* portDir);
