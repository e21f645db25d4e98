// Times the zkc command natively against zkc-sim lines in $ZKC_PORT_DIR
// and prints a row of the benchmark table for each:
//   COM6: a device at 5, for zkc get --address 5 against its one word read;
//   COM1 to COM4: a device at 15 on each, for zkc scan of all four at once
//     against one of them alone (and the sum of the four alone);
//   COM5: devices at 0 to 15, for zkc apply of a plan of all sixteen
//     against the fixed waits of its reads, writes and read-backs.

#include "bench_table.h"
#include "protocol.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Wall time of one run of zkc with these arguments, its output dropped.
double runMs(const std::string& zkc, std::vector<std::string> args) {
    std::vector<char*> argv = {const_cast<char*>(zkc.c_str())};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = -1;
    int status = -1;
    if (posix_spawn(&pid, zkc.c_str(), &files, nullptr, argv.data(), environ) == 0) {
        waitpid(pid, &status, 0);
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    posix_spawn_file_actions_destroy(&files);
    if (status != 0) std::fprintf(stderr, "cli_bench: zkc %s failed\n", args[0].c_str());
    return ms;
}

ActionResult timed(const char* action, double boundMs, int runs, const std::string& zkc,
                   const std::vector<std::string>& args) {
    ActionResult result{"native", action, boundMs, 0, {}, {}};
    result.timedOnLine = false;
    for (int k = 0; k < runs; ++k) result.totalsMs.push_back(runMs(zkc, args));
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: cli_bench ZKC RUNS PLAN_FOLDER (lines in $ZKC_PORT_DIR)\n");
        return 2;
    }
    const std::string zkc = argv[1];
    const int runs = std::atoi(argv[2]);
    const std::string plan = std::string(argv[3]) + "/plan-16.csv";
    std::ofstream(plan) << [] {
        std::string text = "port,address,dac0\n";
        for (int address = 0; address <= highestDeviceAddress; ++address) {
            text += "COM5," + std::to_string(address) + "," + std::to_string(100 + address) + "\n";
        }
        return text;
    }();

    runMs(zkc, {"get", "--address", "5", "--port", "COM6"});  // warm-up
    const ActionResult get = timed("zkc get --address 5", readWordWaitMs, runs, zkc,
                                   {"get", "--address", "5", "--port", "COM6"});

    // One line alone, each of the four once: their sum is what scanning them
    // one after the other would take.
    std::vector<double> alone;
    double sequentialMs = 0;
    for (int line = 1; line <= 4; ++line) {
        alone.push_back(runMs(zkc, {"scan", "--port", "COM" + std::to_string(line)}));
        sequentialMs += alone.back();
    }
    const int scanRuns = runs < 2 ? runs : 2;
    const ActionResult scan =
        timed("zkc scan, 4 lines", median(alone), scanRuns, zkc,
              {"scan", "--port", "1", "--port", "2", "--port", "3", "--port", "4"});

    const double applyWaitsMs =
        (highestDeviceAddress + 1) * (readWordWaitMs + writeWordWaitMs + readWordWaitMs);
    const int applyRuns = runs < 3 ? runs : 3;
    const ActionResult apply =
        timed("zkc apply, 16 devices", applyWaitsMs, applyRuns, zkc, {"apply", plan});

    for (const ActionResult& result : {get, scan, apply})
        std::printf("%s\n", tableRow(result).c_str());
    std::printf("SCAN one line alone %.1f ms (median of 4), the four one after the other %.1f ms\n",
                median(alone), sequentialMs);
    return 0;
}
