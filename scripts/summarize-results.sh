#!/usr/bin/env bash
# Adds up the GoogleTest XML reports of every tier; a program that ended
# without a report counts as one failure, and so do each sanitizer report and
# a tier that left no results at all.
# Each tier folder holds the tier's time in a file "seconds".
#   usage: scripts/summarize-results.sh RESULTS_DIR
set -uo pipefail
results=$1

passed=0 failed=0
for tier in native native-asan fuzz release package windows; do
  tierPassed=0 tierFailed=0
  for report in "$results/$tier"/*.xml; do
    [ -f "$report" ] || continue
    read -r tests failures errors disabled < <(
      sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)" disabled="\([0-9]*\)" errors="\([0-9]*\)".*/\1 \2 \4 \3/p' "$report" | head -n 1)
    tierPassed=$((tierPassed + tests - failures - errors - disabled))
    tierFailed=$((tierFailed + failures + errors))
  done
  if [ -f "$results/$tier/exits" ]; then
    cat "$results/$tier/exits"
    while read -r line; do
      program=${line%% exited*}
      [ -f "$results/$tier/$program.xml" ] || tierFailed=$((tierFailed + 1))
    done <"$results/$tier/exits"
  fi
  for report in "$results/$tier"/sanitizer.*; do
    [ -f "$report" ] || continue
    echo "$tier: sanitizer report in $report"
    tierFailed=$((tierFailed + 1))
  done
  [ $((tierPassed + tierFailed)) -eq 0 ] && tierFailed=1
  seconds=$(cat "$results/$tier/seconds" 2>/dev/null || echo "?")
  echo "$tier tier: $tierPassed passed, $tierFailed failed in ${seconds}s"
  passed=$((passed + tierPassed))
  failed=$((failed + tierFailed))
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
