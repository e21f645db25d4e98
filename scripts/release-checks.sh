#!/usr/bin/env bash
# The release checks, with one GoogleTest report each in RESULTS_DIR:
# - reproducible: the shipped Windows programs built again from scratch, in
#   another folder and later, must be byte for byte those of build/windows;
#   prints both SHA-256 of each;
# - what build/native/tests/native/release_checks reads of the 64-bit and
#   32-bit programs without running them.
#   usage: scripts/release-checks.sh RESULTS_DIR
set -uo pipefail
cd "$(dirname "$0")/.."
results=$1
mkdir -p "$results"

source scripts/test-report.sh

again=build/reproduced-windows
rm -rf "$again"
differing=""
if cmake -S . -B "$again" -DCMAKE_BUILD_TYPE=Release \
     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake >/dev/null &&
   cmake --build "$again" -j "$(nproc)" --target zkc-vandor zkc >/dev/null; then
  for program in zkc-vandor.exe zkc.exe; do
    first=$(sha256sum <"build/windows/$program" | cut -d' ' -f1)
    second=$(sha256sum <"$again/$program" | cut -d' ' -f1)
    echo "reproducible $program: $first (build/windows), $second ($again)"
    [ "$first" = "$second" ] || differing+="$program "
  done
  testReport "$results" reproducible "${differing:+differs: }$differing"
else
  testReport "$results" reproducible "the second build failed"
fi

ZKC_WINDOWS_BUILD=$PWD/build/windows ZKC_WINDOWS32_BUILD=$PWD/build/windows32 \
  timeout 120 build/native/tests/native/release_checks --gtest_output="xml:$results/release_checks.xml" \
  || echo "release_checks exited with $?" >>"$results/exits"
exit 0
