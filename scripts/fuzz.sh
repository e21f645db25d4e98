#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) into build/fuzz and runs
# them side by side for the given seconds each (default 300), starting from
# the seed inputs in tests/fuzz/corpus and what earlier runs added in
# build/fuzz/corpus. Prints each target's executions and time. With a second
# argument, also writes there one GoogleTest-style report per target: a pass
# when it ran clean, a failure when it crashed, hung or was not built. A crash
# input is saved under build/fuzz/artifacts/<target>/; replay it with
# build/fuzz/<target>_fuzz FILE.
#   usage: scripts/fuzz.sh [seconds] [report folder]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300} reports=${2:-}
targets=(reply_decoder sim_line plan_parser)

source scripts/test-report.sh
# writeReport TARGET FAILURE-TEXT: a report when a report folder is given.
writeReport() {
  [ -z "$reports" ] || testReport "$reports" "$1" "$2"
}

if ! { cmake -S tests/fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null \
         && cmake --build build/fuzz -j "$(nproc)" >/dev/null; }; then
  echo "fuzz build failed"
  for target in "${targets[@]}"; do writeReport "$target" "not built"; done
  exit 1
fi

pids=()
for target in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$target" "build/fuzz/artifacts/$target"
  # A hang on one input is as much a fault as a crash.
  "build/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/artifacts/$target/" \
    "build/fuzz/corpus/$target" "tests/fuzz/corpus/$target" >"build/fuzz/$target.log" 2>&1 &
  pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  wait "${pids[$i]}"
  status=$?
  log=build/fuzz/$target.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | head -n 1)
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | head -n 1)
  if [ "$status" -eq 0 ]; then
    echo "fuzz $target: ${runs:-?} executions in ${took:-?} s, no crash"
    writeReport "$target" ""
  else
    failed=$((failed + 1))
    crash=$(sed -n 's/.*Test unit written to //p' "$log" | head -n 1)
    echo "fuzz $target: FAILED (exit $status) after ${runs:-?} executions;" \
      "input ${crash:-not saved}; log $log"
    grep -m 3 -E 'ERROR|SUMMARY' "$log"
    writeReport "$target" "exit $status, input ${crash:-not saved}"
  fi
done
[ "$failed" -eq 0 ]
