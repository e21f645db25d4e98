#!/usr/bin/env bash
# Starts ZKC-Vandor under Wine with COM1 linked to a simulated device, or to
# a real serial port given with --port. Without a display it runs under Xvfb,
# saves a screenshot of the panel and ends.
set -euo pipefail
cd "$(dirname "$0")/.."

realPort=""
while [ $# -gt 0 ]; do
  case $1 in
    --port) realPort=${2:?--port needs a device path such as /dev/ttyUSB0}; shift 2 ;;
    -h|--help) echo "usage: scripts/run.sh [--port /dev/ttyUSB0]"; exit 0 ;;
    *) echo "unknown option: $1 (see --help)" >&2; exit 2 ;;
  esac
done

bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null

runDir=$PWD/build/run
mkdir -p "$runDir"
export WINEPREFIX=$runDir/wine-prefix
source scripts/wine-env.sh
if [ -n "${DISPLAY:-}" ]; then prepareWinePrefix managed; else prepareWinePrefix; fi
startQuietWineServer

simPid=""
cleanUp() {
  [ -n "$simPid" ] && kill "$simPid" 2>/dev/null && wait "$simPid" 2>/dev/null
  [ -n "${xvfbPid:-}" ] && kill "$xvfbPid" 2>/dev/null
  wineserver -k 2>/dev/null || true
}
trap cleanUp EXIT

deviceAddress=5 dac0=1234
if [ -n "$realPort" ]; then
  ln -sfn "$realPort" "$WINEPREFIX/dosdevices/com1"
  echo "COM1 is $realPort"
else
  build/native/sim/zkc-sim --link "$WINEPREFIX/dosdevices/com1" --log "$runDir/zkc-sim.log" \
    --device "$deviceAddress:dac0=$dac0" >/dev/null &
  simPid=$!
  for _ in $(seq 100); do [ -e "$WINEPREFIX/dosdevices/com1" ] && break; sleep 0.05; done
  echo "COM1 is a simulated ZKC device at address $deviceAddress with DAC0 = $dac0"
  echo "its line log: $runDir/zkc-sim.log"
fi

if [ -n "${DISPLAY:-}" ]; then
  wine build/windows/zkc-vandor.exe
  exit 0
fi

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfbPid=$!
export DISPLAY=$display
sleep 1
wine build/windows/zkc-vandor.exe &
for _ in $(seq 100); do
  xwininfo -root -tree 2>/dev/null | grep -q '"ZKC-Vandor"' && break
  sleep 0.1
done
sleep 1
import -window root "$runDir/panel.png"
echo "no display: the panel ran under Xvfb; screenshot saved to $runDir/panel.png"
