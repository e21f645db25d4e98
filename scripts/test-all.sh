#!/usr/bin/env bash
# The one test command: installs what is missing, builds the three trees,
# runs the native tier, the native tier again under ASan + UBSan, each fuzz
# target for a few seconds, the release checks (a reproduced build, the
# About date taken from the commit, the
# 64-bit and 32-bit programs read without running them), the package checks
# (both packages built, lintian, the .deb's programs and launcher run from
# an unpacked root, the zip's contents) and the Windows tier (under Wine and
# Xvfb), and ends with a line "N passed, N failed" over all of them.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }
bash scripts/build.sh || { echo "build failed"; echo "0 passed, 1 failed"; exit 1; }

results=build/test-results
rm -rf "$results"
mkdir -p "$results/native" "$results/native-asan" "$results/fuzz" "$results/release" \
  "$results/package" "$results/windows"

tierStart=$(date +%s)
bash scripts/native-tier.sh build/native "$results/native"
echo $(( $(date +%s) - tierStart )) >"$results/native/seconds"

# Only the native tests and the zkc-sim they start are built with sanitizers.
tierStart=$(date +%s)
if cmake -S . -B build/native-asan -DCMAKE_BUILD_TYPE=Debug \
     -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
     >/dev/null && cmake --build build/native-asan -j "$(nproc)" --target native_tests property_tests \
     >/dev/null; then
  bash scripts/native-tier.sh build/native-asan "$results/native-asan"
else
  echo "native_tests exited with a failed sanitizer build" >>"$results/native-asan/exits"
fi
echo $(( $(date +%s) - tierStart )) >"$results/native-asan/seconds"

tierStart=$(date +%s)
bash scripts/fuzz.sh 10 "$results/fuzz"
echo $(( $(date +%s) - tierStart )) >"$results/fuzz/seconds"

tierStart=$(date +%s)
bash scripts/release-checks.sh "$results/release"
echo $(( $(date +%s) - tierStart )) >"$results/release/seconds"

tierStart=$(date +%s)
bash scripts/package-checks.sh "$results/package"
echo $(( $(date +%s) - tierStart )) >"$results/package/seconds"

tierStart=$(date +%s)
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/windows-tier.sh "$results/windows"
echo $(( $(date +%s) - tierStart )) >"$results/windows/seconds"

bash scripts/summarize-results.sh "$results"
