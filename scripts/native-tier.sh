#!/usr/bin/env bash
# Runs every native test program of a build tree, with one GoogleTest report
# each in the results folder. In a sanitizer build, a report from a test
# program or from a process it starts (zkc-sim) ends that process and is
# saved there as sanitizer.<pid>, which fails the tier.
#   usage: scripts/native-tier.sh BUILD_DIR RESULTS_DIR
set -uo pipefail
cd "$(dirname "$0")/.."
build=$1 results=$2
mkdir -p "$results"
reportPath=$(cd "$results" && pwd)/sanitizer
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:log_path=$reportPath"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reportPath"

for program in "$build"/tests/native/*_tests; do
  name=$(basename "$program")
  echo "== $(basename "$results"): $name"
  timeout 600 "$program" --gtest_output="xml:$results/$name.xml" \
    || echo "$name exited with $?" >>"$results/exits"
done
for report in "$results"/sanitizer.*; do
  [ -f "$report" ] && cat "$report"
done
exit 0
