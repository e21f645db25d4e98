// zkc-sim: plays ZKC devices on a pseudo-terminal or a tty; see usageText().

#include "line_pace.h"
#include "line_port.h"
#include "link_file.h"
#include "options.h"
#include "serve_loop.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

constexpr int exitServeFailure = 1;
constexpr int exitBadOptions = 2;

int fail(const std::string& message, int status) {
    std::fprintf(stderr, "zkc-sim: %s\n", message.c_str());
    return status;
}

// The stop signals arrive through a descriptor the serving loop polls, so
// there is no handler and no flag to share with one.
int stopSignalFd() {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    if (sigprocmask(SIG_BLOCK, &stopSignals, nullptr) != 0) return -1;
    return signalfd(-1, &stopSignals, SFD_CLOEXEC);
}

void waitForStopSignal(int signalFd) {
    signalfd_siginfo received;
    while (read(signalFd, &received, sizeof received) < 0 && errno == EINTR) {}
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        return fail(error + " (see --help)", exitBadOptions);
    }
    if (options.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }

    std::FILE* log = stderr;
    if (!options.logPath.empty()) {
        log = std::fopen(options.logPath.c_str(), "w");
        if (!log) return fail("cannot write " + options.logPath, exitServeFailure);
    }
    const int signalFd = stopSignalFd();
    if (signalFd < 0) return fail("cannot watch for signals", exitServeFailure);

    LinePort port;
    const bool opened = options.ttyPath.empty() ? port.openPseudoTerminal(error)
                                                : port.openTty(options.ttyPath, error);
    if (!opened) return fail(error, exitServeFailure);
    std::printf("zkc-sim: serving %s\n", port.path().c_str());
    std::fflush(stdout);
    if (!options.linkPath.empty() && !placeLink(options.linkPath, port.path(), error)) {
        return fail(error, exitServeFailure);
    }

    LineSettings settings;
    settings.replyForm = options.replyForm;
    settings.replyByteTimeMs = options.pace ? byteTimeAt9600Ms : 0;
    settings.echo = options.echo;
    SimulatedLine line(options.devices, settings);
    if (options.deaf) {
        waitForStopSignal(signalFd);
    } else {
        serveLine(port.fd(), signalFd, line, log);
    }

    if (!options.linkPath.empty()) removeLink(options.linkPath, port.path());
    close(signalFd);
    if (log != stderr) std::fclose(log);
    return 0;
}
