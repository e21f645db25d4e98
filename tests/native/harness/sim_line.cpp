#include "sim_line.h"

#include <csignal>
#include <sstream>
#include <thread>

namespace {

constexpr int startBoundMs = 10000;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

}  // namespace

SimLine::SimLine(const std::string& portDir, int comNumber, const std::string& simArgs)
    : link(portDir + "/com" + std::to_string(comNumber)),
      logPath(portDir + "/sim-port" + std::to_string(comNumber) + ".log") {
    std::vector<std::string> args = {"--link", link, "--log", logPath};
    std::istringstream words(simArgs);
    for (std::string word; words >> word;) args.push_back(word);
    process = std::make_unique<ChildProcess>(ZKC_SIM_PATH, args, portDir,
                                             "sim-port" + std::to_string(comNumber));
    isReady = waitUntil(startBoundMs, [this] { return pathExists(link); });
}

SimLine::~SimLine() { process->stop(SIGTERM); }

std::vector<std::string> SimLine::settledLogLines() const {
    std::vector<std::string> log = lines(fileText(logPath));
    for (int round = 0; round < 40; ++round) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::vector<std::string> later = lines(fileText(logPath));
        if (later == log) break;
        log = later;
    }
    return log;
}
