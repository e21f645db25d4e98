#!/usr/bin/env bash
# The benchmark: builds what it needs into build/bench-native and
# build/bench-windows, then times each action against zkc-sim --pace (replies
# at 9600 baud) and prints one table: natively through the device link and
# the zkc command line, and under Wine with the real panel
# (bench/panel_bench.cpp drives it in-process).
# Then the program's size, its time from start to panel shown (Wine warm) and
# its peak memory. Usage: bash bench/run.sh [RUNS]  (default 7; the 4.7 s Get
# runs at most 3 times, the 14.4 s one twice).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}

bash scripts/install-deps.sh
mkdir -p build
buildLog=$PWD/build/bench-build.log
: >"$buildLog"
quietly() { "$@" >>"$buildLog" 2>&1 || { cat "$buildLog" >&2; exit 1; }; }
jobs=$(nproc)
quietly cmake -S . -B build/bench-native -DCMAKE_BUILD_TYPE=RelWithDebInfo
quietly cmake --build build/bench-native -j "$jobs" --target zkc-sim zkc link_bench cli_bench
quietly cmake -S . -B build/bench-windows -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake
quietly cmake --build build/bench-windows -j "$jobs" --target zkc-vandor zkc panel_bench empty_window
quietly cmake -S . -B build/bench-windows32 -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686-posix.cmake
quietly cmake --build build/bench-windows32 -j "$jobs" --target zkc-vandor zkc

sim=$PWD/build/bench-native/sim/zkc-sim
exe=$PWD/build/bench-windows/zkc-vandor.exe
scratch=$(mktemp -d /tmp/zkc-bench-XXXXXX)
simPid="" xvfbPid="" linePids=()
cleanUp() {
  [ -n "$simPid" ] && kill "$simPid" 2>/dev/null
  [ ${#linePids[@]} -gt 0 ] && kill "${linePids[@]}" 2>/dev/null
  if [ -n "$xvfbPid" ]; then
    wineserver -k 2>/dev/null || true
    kill "$xvfbPid" 2>/dev/null
  fi
  rm -rf "$scratch"
}
trap cleanUp EXIT

# Natively: the device link against a simulated device on COM1 of a folder.
mkdir -p "$scratch/ports"
"$sim" --pace --link "$scratch/ports/com1" --log "$scratch/native-sim.log" \
  --device 0:dac0=1234 >/dev/null &
simPid=$!
for _ in $(seq 100); do [ -e "$scratch/ports/com1" ] && break; sleep 0.02; done
nativeRows=$(ZKC_PORT_DIR=$scratch/ports build/bench-native/bench/link_bench \
  "$scratch/native-sim.log" "$runs")
kill "$simPid"; wait "$simPid" 2>/dev/null || true; simPid=""

# The command line, natively: four lines with a device at 15 on each, a line
# of sixteen devices and one with a device at 5 (see bench/cli_bench.cpp).
mkdir -p "$scratch/cli-ports"
startLine() {  # COM number, then the simulator's device options
  local com=$1; shift
  "$sim" --pace --link "$scratch/cli-ports/com$com" --log "$scratch/cli-sim$com.log" "$@" >/dev/null &
  linePids+=($!)
}
for com in 1 2 3 4; do startLine "$com" --device "15:dac0=$((com * 100))"; done
sixteen=()
for address in $(seq 0 15); do sixteen+=(--device "$address:dac0=$address"); done
startLine 5 "${sixteen[@]}"
startLine 6 --device 5:dac0=1234
for com in 1 2 3 4 5 6; do
  for _ in $(seq 100); do [ -e "$scratch/cli-ports/com$com" ] && break; sleep 0.02; done
done
cliRows=$(ZKC_PORT_DIR=$scratch/cli-ports build/bench-native/bench/cli_bench \
  build/bench-native/cli/zkc "$runs" "$scratch")
kill "${linePids[@]}"; wait "${linePids[@]}" 2>/dev/null || true; linePids=()

# Under Wine, in a private prefix and a private X server.
export WINEPREFIX=$PWD/build/bench-wine-prefix
source scripts/wine-env.sh
display=:$((200 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfbPid=$!
export DISPLAY=$display
prepareWinePrefix
# A server that stays up between programs: Wine is warm.
wineserver -p >/dev/null 2>&1
export ZKC_SIM=$sim ZKC_SCRATCH=$scratch
wineRows=$(wine build/bench-windows/bench/panel_bench.exe "$runs" | tr -d '\r')
rm -f "$WINEPREFIX"/dosdevices/com*
# The line logs of every run, for whoever wants to read the gaps themselves.
logs=$PWD/build/bench-logs
mkdir -p "$logs"
cp "$scratch"/native-sim.log "$scratch"/wine-*.log "$logs"/

# Start to panel shown: from starting the program under the warm Wine to its
# window being viewable on the X server. Peak memory: VmHWM (and, of it, the
# private RssAnon) of the program's process once its window shows, Wine's own
# libraries included; the empty window program shows what Wine alone takes.
shown() { xwininfo -name "$1" 2>/dev/null | grep -q IsViewable; }
startAndMeasure() {  # program, window title; prints start-us VmHWM-kB RssAnon-kB
  local begin end pid
  begin=$(date +%s%N)
  wine "$1" &
  pid=$!
  for _ in $(seq 5000); do shown "$2" && break; sleep 0.002; done
  end=$(date +%s%N)
  sleep 0.3
  echo "$(( (end - begin) / 1000 )) $(awk '/VmHWM|RssAnon/ {printf "%s ", $2}' "/proc/$pid/status")"
  kill "$pid"; wait "$pid" 2>/dev/null || true
  while shown "$2"; do sleep 0.01; done
}
# The first start of each warms the page cache; it is not counted.
startAndMeasure "$exe" ZKC-Vandor >/dev/null
startAndMeasure build/bench-windows/bench/empty_window.exe "Empty window" >/dev/null
panelRuns=() floorRuns=()
for _ in $(seq "$runs"); do
  panelRuns+=("$(startAndMeasure "$exe" ZKC-Vandor)")
  floorRuns+=("$(startAndMeasure build/bench-windows/bench/empty_window.exe "Empty window")")
done
field() { local k=$1; shift; printf '%s\n' "$@" | awk -v k="$k" '{print $k}'; }
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

echo
echo "ZKC-Vandor benchmark, $(date -u +%Y-%m-%d), $(nproc) CPUs," \
  "$(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo), $(wine --version 2>/dev/null)"
echo
build/bench-native/bench/link_bench --header
echo "$nativeRows"
echo "$cliRows" | grep '^|'
echo "$wineRows"
echo
echo "$cliRows" | sed -n 's/^SCAN /- zkc scan: /p'
medianOf() { awk -F'|' -v name="$1" '$3 ~ name {gsub(/ /, "", $5); print $5}'; }
zkcGet=$(echo "$cliRows" | medianOf "zkc get --address 5")
panelGet=$(echo "$wineRows" | medianOf "Get, device at 5")
echo "- zkc get --address 5 takes $zkcGet ms where the panel's Get of a device at 5," \
  "which must find the address first, takes $panelGet ms"
startTimes=($(field 1 "${panelRuns[@]}"))
# The native programs go into the Debian package stripped, as measured here.
strippedSize() { strip -o "$scratch/stripped" "$1" && stat -c %s "$scratch/stripped"; }
echo "- on disk, as shipped: zkc-vandor.exe $(stat -c %s "$exe") bytes (32-bit" \
  "$(stat -c %s build/bench-windows32/zkc-vandor.exe)), zkc.exe" \
  "$(stat -c %s build/bench-windows/zkc.exe) bytes (32-bit $(stat -c %s build/bench-windows32/zkc.exe));" \
  "zkc $(strippedSize build/bench-native/cli/zkc) bytes, zkc-sim" \
  "$(strippedSize build/bench-native/sim/zkc-sim) bytes (Linux, stripped)"
echo "- start to panel shown (Wine warm), median of $runs: $(median "${startTimes[@]}" | awk '{printf "%.1f", $1/1000}') ms" \
  "(runs: $(printf '%s ' "${startTimes[@]}" | awk '{for (i=1;i<=NF;i++) printf "%.0f ", $i/1000}')ms)"
echo "- peak memory of the program's Wine process, median of $runs: VmHWM $(median $(field 2 "${panelRuns[@]}")) kB," \
  "of it private (RssAnon) $(median $(field 3 "${panelRuns[@]}")) kB"
echo "- the same for an empty Win32 window under Wine: VmHWM $(median $(field 2 "${floorRuns[@]}")) kB," \
  "private $(median $(field 3 "${floorRuns[@]}")) kB; start to window $(median $(field 1 "${floorRuns[@]}") | awk '{printf "%.1f", $1/1000}') ms"
echo "- line logs of every run: build/bench-logs/"
