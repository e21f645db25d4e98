#include "progress_board.h"

namespace {

constexpr auto redrawEvery = std::chrono::milliseconds(200);

}  // namespace

ProgressBoard::ProgressBoard(std::FILE* terminal, const std::vector<std::string>& ports)
    : terminal(terminal), start(std::chrono::steady_clock::now()) {
    for (const std::string& port : ports) lines.push_back({port, "opening"});
    drawer = std::thread([this] { drawUntilStopped(); });
}

ProgressBoard::~ProgressBoard() {
    {
        const std::lock_guard<std::mutex> lock(guard);
        stopping = true;
    }
    wake.notify_all();
    drawer.join();
    erase();
}

void ProgressBoard::show(std::size_t port, const std::string& doing) {
    const std::lock_guard<std::mutex> lock(guard);
    lines[port].doing = doing;
}

void ProgressBoard::drawUntilStopped() {
    std::unique_lock<std::mutex> lock(guard);
    while (!stopping) {
        draw();
        wake.wait_for(lock, redrawEvery, [this] { return stopping; });
    }
}

// Back to the first line of the board, then each line cleared and written.
void ProgressBoard::draw() {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (drawn) std::fprintf(terminal, "\x1b[%uA", static_cast<unsigned>(lines.size()));
    for (const Line& line : lines) {
        std::fprintf(terminal, "\r\x1b[2K%s: %s, %.1f s\n", line.port.c_str(), line.doing.c_str(),
                     seconds);
    }
    std::fflush(terminal);
    drawn = true;
}

void ProgressBoard::erase() {
    if (!drawn) return;
    std::fprintf(terminal, "\x1b[%uA", static_cast<unsigned>(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) std::fprintf(terminal, "\r\x1b[2K\n");
    std::fprintf(terminal, "\x1b[%uA", static_cast<unsigned>(lines.size()));
    std::fflush(terminal);
}

void PortProgress::setPosition(int position) { show("address " + std::to_string(position)); }

void PortProgress::show(const std::string& doing) {
    if (board != nullptr) board->show(port, doing);
}
