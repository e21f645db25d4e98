#!/usr/bin/env bash
# The package checks, with one GoogleTest-style report each in RESULTS_DIR:
# both packages built by scripts/package.sh; lintian finds no error in the
# .deb; the .deb unpacked into a scratch root works from there (zkc and
# zkc-sim --help, each man page, the launcher's error for a missing device
# without Wine started, and its --demo under Xvfb up to the panel's window);
# the zip holds the files it should, each executable of its machine type;
# the Windows programs in both packages are the very files built (and
# checked for reproducibility) in build/windows and build/windows32.
#   usage: scripts/package-checks.sh RESULTS_DIR
set -uo pipefail
cd "$(dirname "$0")/.."
results=$1
mkdir -p "$results"
source scripts/test-report.sh

deb=build/dist/zkc-vandor_1.0.0.1_amd64.deb
zip=build/dist/zkc-vandor-1.0.0.1-windows.zip
scratch=$(mktemp -d /tmp/zkc-package-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

# check NAME FAILURE: the report, and a line for whoever reads the log.
check() {
  testReport "$results" "$1" "$2"
  if [ -z "$2" ]; then echo "package $1: ok"; else echo "package $1: FAILED: $2"; fi
}

if ! bash scripts/package.sh >"$scratch/package.log" 2>&1; then
  cat "$scratch/package.log"
  check built "scripts/package.sh failed"
  exit 0
fi
check built ""
ls -l "$deb" "$zip"

# lintian's own status: not 0 for an error in the package, and for a
# lintian that did not run at all.
lintian "$deb" >"$scratch/lintian.log" 2>&1
lintianStatus=$?
grep -v 'running with root privileges' "$scratch/lintian.log"
errors=$(grep -c '^E:' "$scratch/lintian.log")
check lintian "$([ "$lintianStatus" -eq 0 ] && [ "$errors" -eq 0 ] ||
  echo "lintian exit $lintianStatus, $errors errors")"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin
failure=""
for program in zkc zkc-sim; do
  "$bin/$program" --help >"$scratch/help" 2>&1 || failure+="$program --help failed; "
  head -n 1 "$scratch/help" | grep -q "^Usage: $program " || failure+="$program --help shows no usage; "
done
check commands-run-from-the-package "$failure"

check panel-is-the-built-one "$(cmp -s "$root/usr/share/zkc-vandor/zkc-vandor.exe" \
  build/windows/zkc-vandor.exe || echo "the packaged panel is not build/windows/zkc-vandor.exe")"

failure=""
for page in zkc zkc-sim zkc-vandor; do
  file=$root/usr/share/man/man1/$page.1.gz
  MANWIDTH=80 man --warnings -l "$file" >"$scratch/page" 2>"$scratch/page-warnings" ||
    failure+="man -l $page.1.gz failed; "
  [ -s "$scratch/page-warnings" ] && failure+="$page.1.gz: $(head -n 1 "$scratch/page-warnings"); "
  grep -q "^NAME" "$scratch/page" || failure+="$page.1.gz has no NAME; "
done
check man-pages "$failure"

# A wine that only notes it was started: the launcher must not get that far.
mkdir -p "$scratch/fake-bin"
printf '#!/bin/sh\ntouch "%s/wine-started"\n' "$scratch" >"$scratch/fake-bin/wine"
chmod +x "$scratch/fake-bin/wine"
output=$(PATH=$scratch/fake-bin:$PATH XDG_DATA_HOME=$scratch/data \
  "$bin/zkc-vandor" --port /dev/zkc-no-such-adapter 2>&1)
status=$?
echo "launcher, missing device: $output (exit $status)"
failure=""
[ "$status" -eq 1 ] || failure+="exit $status; "
[ "$output" = "zkc-vandor: /dev/zkc-no-such-adapter does not exist" ] || failure+="said: $output; "
[ -e "$scratch/wine-started" ] && failure+="Wine was started; "
[ -e "$scratch/data/zkc-vandor" ] && failure+="a prefix was made; "
check launcher-refuses-a-missing-device "$failure"

# A device the user may not open: a node like /dev/null, but for root and
# its group only, tried as another user. That takes root to set up.
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
  mkdir -m 755 "$scratch/devices"
  chmod 755 "$scratch" "$root" "$root/usr" "$bin"
  mknod -m 660 "$scratch/devices/ttyUSB9" c 1 3
  chgrp dialout "$scratch/devices/ttyUSB9"
  output=$(su -s /bin/sh nobody -c "XDG_DATA_HOME=/nonexistent/data '$bin/zkc-vandor' --port '$scratch/devices/ttyUSB9'" 2>&1)
  status=$?
  echo "launcher, device not allowed: $output (exit $status)"
  expected="zkc-vandor: you may not open $scratch/devices/ttyUSB9: join the group 'dialout' (sudo usermod -aG dialout \$USER) and log in again"
  failure=""
  [ "$status" -eq 1 ] || failure+="exit $status; "
  [ "$output" = "$expected" ] || failure+="said: $output; "
  check launcher-names-the-group-to-join "$failure"
fi

# --demo with its own, new prefix, as on a first start; the panel is closed
# as a user would close it, and the launcher ends with it.
demoData=$scratch/demo-data
demoPrefix=$demoData/zkc-vandor/prefix
XDG_DATA_HOME=$demoData xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1" --demo >"$2/demo.log" 2>&1 &
  launcher=$!
  for _ in $(seq 1200); do
    xwininfo -root -tree 2>/dev/null | grep -q "\"ZKC-Vandor\"" && break
    sleep 0.1
  done
  xwininfo -root -tree 2>/dev/null | grep -q "\"ZKC-Vandor\"" && echo shown >"$2/demo-shown"
  WINEPREFIX=$3 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;mountmgr.sys=d" \
    wine taskkill /IM zkc-vandor.exe >/dev/null 2>&1
  for _ in $(seq 200); do kill -0 "$launcher" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$launcher" 2>/dev/null && kill "$launcher"
  wait "$launcher"; echo $? >"$2/demo-status"
  WINEPREFIX=$3 wineserver -k 2>/dev/null
 ' demo "$bin/zkc-vandor" "$scratch" "$demoPrefix"
echo "launcher --demo said: $(cat "$scratch/demo.log" 2>/dev/null)"
failure=""
[ -e "$scratch/demo-shown" ] || failure+="the panel's window never showed; "
[ "$(cat "$scratch/demo-status" 2>/dev/null)" = 0 ] || failure+="exit $(cat "$scratch/demo-status" 2>/dev/null); "
grep -q "^COM1 is a simulated ZKC device at address 5" "$scratch/demo.log" || failure+="no COM1 line; "
pgrep -f "$bin/zkc-sim" >/dev/null && failure+="its zkc-sim still runs; "
check launcher-demo-opens-the-panel "$failure"

# The zip: its files, and each executable's PE machine.
peMachine() {  # file: the COFF machine field, in hex
  local header
  header=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((header + 4)) -N 2 "$1" | tr -d ' '
}
failure=""
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')
[ "$listed" = "README.txt x64/zkc-vandor.exe x86/zkc-vandor.exe zkc.exe " ] || failure+="holds: $listed; "
unzip -q "$zip" -d "$scratch/zip"
# Each program is also the very file built and checked for reproducibility.
for entry in x64/zkc-vandor.exe:8664:build/windows/zkc-vandor.exe \
             x86/zkc-vandor.exe:014c:build/windows32/zkc-vandor.exe \
             zkc.exe:8664:build/windows/zkc.exe; do
  IFS=: read -r file expected built <<<"$entry"
  machine=$(peMachine "$scratch/zip/$file" 2>/dev/null)
  echo "zip $file: machine $machine"
  [ "$machine" = "$expected" ] || failure+="$file is machine $machine, not $expected; "
  cmp -s "$scratch/zip/$file" "$built" || failure+="$file is not $built; "
done
check windows-zip "$failure"
exit 0
