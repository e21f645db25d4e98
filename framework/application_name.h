#pragma once

#include <string>

// The application's name: the executable's file name without its extension.
// It is the title of the framework's own message boxes.
std::wstring applicationName();
