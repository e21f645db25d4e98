#pragma once

#include "device.h"

#include <optional>
#include <string>

// Reads a device from ADDR[:setting[,setting...]], for instance
// "3:dac0=1200,late=200,fail-word=2". Settings: dac0=N, probe=N, reg.HHHH=N
// (hex register), fail-byte=K, fail-word=K, fail-write=K, fail-reset=K,
// late=MS, truncate=N, noise=N, and the flags silent, wrong-echo, lower.
// Numbers are decimal or 0x hex. On failure, error says why.
std::optional<DeviceConfig> parseDeviceOption(const std::string& option, std::string& error);
