#!/usr/bin/env bash
# The release checks, with one GoogleTest report each in RESULTS_DIR:
# - reproducible: the shipped Windows programs built again from scratch, in
#   another folder and later, must be byte for byte those of build/windows;
#   prints both SHA-256 of each;
# - about-date-is-the-commits: the date the About box shows is that of the
#   commit built, or SOURCE_DATE_EPOCH, or outside git a fixed day;
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

# The About box's date: the commit's, never the day of the build. The date
# script runs on a scratch repository whose one commit is from another day,
# with SOURCE_DATE_EPOCH given, and outside git; the header of build/windows
# is the one it writes for this checkout.
buildDate() {  # SOURCE: the define the date script writes there
  local header
  header=$(mktemp)
  cmake -DSOURCE="$1" -DOUTPUT="$header" -P cmake/build_date.cmake && cat "$header"
  rm -f "$header"
}
scratch=$(mktemp -d /tmp/zkc-release-XXXXXX)
git init -q "$scratch/repo"
GIT_COMMITTER_DATE="2023-11-14T22:13:20Z" git -C "$scratch/repo" -c user.name=check \
  -c user.email=check@invalid commit -q --allow-empty -m "a commit of another day"
failure=""
dated() {  # WHAT EXPECTED GOT
  [ "$3" = "#define ZKC_BUILD_DATE \"$2\"" ] || failure+="$1 gave '$3', not '$2'; "
}
dated "a commit of 2023-11-14" "Nov 14 2023" "$(unset SOURCE_DATE_EPOCH; buildDate "$scratch/repo")"
dated "SOURCE_DATE_EPOCH=0" "Jan  1 1970" "$(SOURCE_DATE_EPOCH=0 buildDate "$scratch/repo")"
mkdir "$scratch/outside"
dated "a folder outside git" "Dec 11 2026" "$(unset SOURCE_DATE_EPOCH; buildDate "$scratch/outside")"
# The build ran in this environment, so the date it took is this one's.
[ "$(cat build/windows/res/build_date.h)" = "$(buildDate "$PWD")" ] ||
  failure+="build/windows holds another date than this checkout's; "
rm -rf "$scratch"
testReport "$results" about-date-is-the-commits "$failure"

ZKC_WINDOWS_BUILD=$PWD/build/windows ZKC_WINDOWS32_BUILD=$PWD/build/windows32 \
  timeout 120 build/native/tests/native/release_checks --gtest_output="xml:$results/release_checks.xml" \
  || echo "release_checks exited with $?" >>"$results/exits"
exit 0
