#!/usr/bin/env bash
# Adds up the GoogleTest XML reports of both tiers; a program that ended
# without a report counts as one failure.
set -uo pipefail
results=$1 nativeSeconds=$2 windowsSeconds=$3

passed=0 failed=0
for tier in native windows; do
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
  seconds=$nativeSeconds
  [ "$tier" = windows ] && seconds=$windowsSeconds
  echo "$tier tier: $tierPassed passed, $tierFailed failed in ${seconds}s"
  passed=$((passed + tierPassed))
  failed=$((failed + tierFailed))
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
