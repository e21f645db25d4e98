#!/usr/bin/env bash
# Runs every Windows-tier test program under Wine, in private prefixes whose
# port links the tests make themselves. Expects a display (xvfb-run).
# The panel action tests spend minutes in the device's fixed waits, so they
# run as two halves (GoogleTest shards) at the same time, each half in a
# prefix, Wine server, scratch folder and X display of its own (two Wine
# servers on one display take the keyboard focus from each other's
# windows); the other programs run beside the first half.
set -uo pipefail
results=$(mkdir -p "$1" && cd "$1" && pwd)
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
prepareWinePrefix
secondPrefix=$WINEPREFIX-second
rm -rf "$secondPrefix"
cp -a "$WINEPREFIX" "$secondPrefix"
export ZKC_SIM=$PWD/build/native/sim/zkc-sim

# runPrograms PREFIX SHARD PROGRAM...: SHARD is the half of the panel action
# tests to run, or "none". Simulators left by a test that broke off are
# stopped by the pid files they leave, and only those.
runPrograms() {
  local prefix=$1 shard=$2
  shift 2
  export WINEPREFIX=$prefix
  export ZKC_SCRATCH
  ZKC_SCRATCH=$(mktemp -d /tmp/zkc-windows-tier-XXXXXX)
  startQuietWineServer
  for program in "$@"; do
    local name report
    name=$(basename "$program" .exe)
    report=$name
    if [ "$name" = panel_action_tests ] && [ "$shard" != none ]; then
      report=$name-$shard
      export GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=$shard
    else
      unset GTEST_TOTAL_SHARDS GTEST_SHARD_INDEX
    fi
    echo "== windows: $report"
    timeout 900 wine "$program" --gtest_output="xml:$(winepath -w "$results/$report.xml")" \
      || echo "$report exited with $?" >>"$results/exits"
    rm -f "$WINEPREFIX"/dosdevices/com*
  done
  for pidFile in "$ZKC_SCRATCH"/*.pid; do
    [ -f "$pidFile" ] && kill "$(cat "$pidFile")" 2>/dev/null
  done
  wineserver -k
  rm -rf "$ZKC_SCRATCH"
}

secondDisplay=""
for number in $(seq 150 250); do
  if [ ! -e "/tmp/.X$number-lock" ]; then secondDisplay=$number; break; fi
done
Xvfb ":$secondDisplay" -screen 0 1280x1024x24 -ac >/dev/null 2>&1 &
xvfbPid=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$secondDisplay" ] && break; sleep 0.05; done

programs=(build/windows/tests/*.exe)
(
  export DISPLAY=:$secondDisplay
  runPrograms "$secondPrefix" 1 build/windows/tests/panel_action_tests.exe
) >"$results/second-half.log" 2>&1 &
secondHalf=$!
runPrograms "$WINEPREFIX" 0 "${programs[@]}"
wait "$secondHalf"
kill "$xvfbPid"
cat "$results/second-half.log"
rm -rf "$secondPrefix"
