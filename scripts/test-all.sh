#!/usr/bin/env bash
# The one test command: installs what is missing, builds both trees, runs the
# native tier and the Windows tier (under Wine and Xvfb), and ends with a line
# "N passed, N failed" over both.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }
bash scripts/build.sh || { echo "build failed"; echo "0 passed, 1 failed"; exit 1; }

results=build/test-results
rm -rf "$results"
mkdir -p "$results/native" "$results/windows"

tierStart=$(date +%s)
for program in build/native/tests/native/*_tests; do
  echo "== native: $(basename "$program")"
  timeout 600 "$program" --gtest_output="xml:$results/native/$(basename "$program").xml" \
    || echo "$(basename "$program") exited with $?" >>"$results/native/exits"
done
nativeSeconds=$(( $(date +%s) - tierStart ))

tierStart=$(date +%s)
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/windows-tier.sh "$results/windows"
windowsSeconds=$(( $(date +%s) - tierStart ))

bash scripts/summarize-results.sh "$results" "$nativeSeconds" "$windowsSeconds"
