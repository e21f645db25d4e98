#include "zkc_program.h"

#include "arguments.h"
#include "commands.h"
#include "exit_status.h"
#include "plan.h"
#include "platform.h"
#include "record_file.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Plans larger than this are no plan: 255 ports of 16 devices fit in far less.
constexpr std::size_t largestPlanBytes = 1 << 20;

int badUsage(const std::string& message) {
    std::fprintf(stderr, "zkc: %s\n", message.c_str());
    return exitBadUsage;
}

bool readPlan(const std::string& path, std::string& text, std::string& error) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        error = "cannot read the plan " + path;
        return false;
    }
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) {
        text.append(buffer, got);
        if (text.size() > largestPlanBytes) break;
    }
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) {
        error = "cannot read the plan " + path;
        return false;
    }
    if (text.size() > largestPlanBytes) {
        error = "the plan " + path + " is larger than 1 MiB";
        return false;
    }
    return true;
}

}  // namespace

int runZkc(int argc, char** argv, const WaitPrecision::TimerCalls& timer) {
    const WaitPrecision precision(timer);
    std::string error;
    const std::optional<Arguments> args = parseArguments(argc, argv, portPathsAllowed(), error);
    if (!args) return badUsage(error + " (see zkc --help)");
    if (args->help) {
        std::fputs(args->commandGiven ? commandUsage(args->command).c_str() : usageText().c_str(),
                   stdout);
        return exitDone;
    }
    const Console console{stdout, stderr, isProgressTerminal(stderr)};
    switch (args->command) {
        case CommandKind::get: return runGet(*args, console);
        case CommandKind::set: return runSet(*args, console);
        case CommandKind::reset: return runReset(*args, console);
        case CommandKind::scan: return runScan(*args, console);
        case CommandKind::apply: break;
    }

    // The whole plan, and where its record goes, are checked before
    // anything is sent to any port.
    std::string text;
    if (!readPlan(args->planPath, text, error)) return badUsage(error);
    std::vector<PlanRow> plan;
    PlanError planError;
    if (!parsePlan(text, portPathsAllowed(), plan, planError)) {
        const std::string where =
            args->planPath + (planError.line > 0 ? ":" + std::to_string(planError.line) : "");
        return badUsage(where + ": " + planError.what);
    }
    RecordFile record;
    if (!args->recordPath.empty() && !record.open(args->recordPath, error)) {
        return badUsage(error);
    }
    return runApply(*args, plan, args->recordPath.empty() ? nullptr : &record, console);
}
