#pragma once

#include "device.h"

#include <string>
#include <vector>

struct SimOptions {
    std::string linkPath;  // symlink to the pseudo-terminal, made once it serves
    std::string ttyPath;   // an existing tty to serve in place of a pseudo-terminal
    std::string logPath;   // empty: the log goes to stderr
    ReplyForm replyForm = ReplyForm::bare;
    bool pace = false;  // replies at 9600 baud, byte by byte, in place of all at once
    bool deaf = false;  // never reads the line, so writes to it back up
    bool echo = false;  // hands every byte received back, as some RS-485 adapters do
    std::vector<DeviceConfig> devices;
    bool help = false;
};

// Reads the command line; on failure error is a one-line reason.
bool parseOptions(int argc, char** argv, SimOptions& options, std::string& error);
const char* usageText();
