#pragma once

#include "progress.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// One line per port on a terminal while work runs: the port, what it is
// doing and for how long, redrawn in place a few times a second and erased
// when the board goes. Each port's thread updates its own line.
class ProgressBoard {
public:
    ProgressBoard(std::FILE* terminal, const std::vector<std::string>& ports);
    ~ProgressBoard();
    ProgressBoard(const ProgressBoard&) = delete;
    ProgressBoard& operator=(const ProgressBoard&) = delete;

    void show(std::size_t port, const std::string& doing);

private:
    struct Line {
        std::string port;
        std::string doing;
    };

    void drawUntilStopped();
    void draw();
    void erase();

    std::FILE* terminal;
    std::vector<Line> lines;
    std::chrono::steady_clock::time_point start;
    bool drawn = false;
    bool stopping = false;
    std::mutex guard;
    std::condition_variable wake;
    std::thread drawer;
};

// A port's line on a board, as the device transactions report to it: the
// address being polled. Without a board it shows nothing.
class PortProgress : public Progress {
public:
    PortProgress(ProgressBoard* board, std::size_t port) : board(board), port(port) {}

    void setRange(int, int) override {}
    void setPosition(int position) override;
    void show(const std::string& doing);

private:
    ProgressBoard* board;
    std::size_t port;
};
