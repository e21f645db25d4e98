#!/usr/bin/env bash
# Runs every Windows-tier test program under Wine, in a private prefix whose
# port links the tests make themselves. Expects a display (xvfb-run).
set -uo pipefail
cd "$(dirname "$0")/.."
results=$1
source scripts/wine-env.sh
prepareWinePrefix
startQuietWineServer

export ZKC_SIM=$PWD/build/native/sim/zkc-sim
export ZKC_SCRATCH
ZKC_SCRATCH=$(mktemp -d /tmp/zkc-windows-tier-XXXXXX)

for program in build/windows/tests/*.exe; do
  name=$(basename "$program" .exe)
  echo "== windows: $name"
  timeout 900 wine "$program" --gtest_output="xml:$(winepath -w "$PWD/$results/$name.xml")" \
    || echo "$name exited with $?" >>"$results/exits"
  rm -f "$WINEPREFIX"/dosdevices/com*
done

pkill -f "$ZKC_SIM" 2>/dev/null
wineserver -k
rm -rf "$ZKC_SCRATCH"
