#include "port_views.h"

PortViews::PortViews(const Arguments& args, const Console& console,
                     const std::vector<std::string>& ports) {
    if (args.trace) {
        lineTrace = std::make_unique<LineTrace>(console.err);
        for (const std::string& port : ports) {
            traces.push_back(std::make_unique<PortTrace>(*lineTrace, port));
        }
    } else if (console.errIsTerminal) {
        board = std::make_unique<ProgressBoard>(console.err, ports);
    }
    for (std::size_t i = 0; i < ports.size(); ++i) {
        progresses.push_back(std::make_unique<PortProgress>(board.get(), i));
    }
}
