#pragma once

#include "arguments.h"
#include "plan.h"
#include "port_views.h"
#include "record_file.h"

#include <vector>

// The commands; each prints its result and returns the exit status.
int runGet(const Arguments& args, const Console& console);
int runSet(const Arguments& args, const Console& console);
int runReset(const Arguments& args, const Console& console);
int runScan(const Arguments& args, const Console& console);
// record is nullptr without --record.
int runApply(const Arguments& args, const std::vector<PlanRow>& plan, RecordFile* record,
             const Console& console);
