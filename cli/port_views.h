#pragma once

#include "arguments.h"
#include "line_trace.h"
#include "progress_board.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Where a command's output goes.
struct Console {
    std::FILE* out;
    std::FILE* err;
    bool errIsTerminal;
};

// What a command's ports show while they work, one entry per port: the
// trace when --trace asks for it, or else progress when stderr is a
// terminal. Progress is erased when this goes, before the result is
// printed.
class PortViews {
public:
    PortViews(const Arguments& args, const Console& console, const std::vector<std::string>& ports);

    PortProgress& progress(std::size_t port) { return *progresses[port]; }
    FrameObserver* trace(std::size_t port) { return traces.empty() ? nullptr : traces[port].get(); }

private:
    std::unique_ptr<LineTrace> lineTrace;
    std::unique_ptr<ProgressBoard> board;
    std::vector<std::unique_ptr<PortTrace>> traces;
    std::vector<std::unique_ptr<PortProgress>> progresses;
};
