#!/bin/sh
# zkc-vandor: opens the ZKC-Vandor panel under Wine, with serial devices as
# its COM ports, in a Wine prefix of its own.
set -eu

usage() {
  cat <<'USAGE'
Usage: zkc-vandor [--port [N=]DEVICE]... | --demo
Opens the ZKC-Vandor panel, the Windows program that reads and sets the
motor current on run (DAC0) of ZKC motor controllers, under Wine.

  --port DEVICE     makes DEVICE (such as /dev/ttyUSB0) the next COM port:
                    COM1, then COM2, and so on
  --port N=DEVICE   makes DEVICE COMN (N from 1 to 9)
  --demo            COM1 is a simulated controller (zkc-sim) at address 5
                    with DAC0 = 1234, for trying the panel without hardware
  --help            this text

Without --port or --demo it takes the USB serial adapters it finds
(/dev/ttyUSB*, /dev/ttyACM*, in name order) and says which COM port each
became. A device that does not exist or that you may not open stops it
before the panel starts. The panel runs in its own Wine prefix,
$XDG_DATA_HOME/zkc-vandor/prefix (~/.local/share by default), made on
first use; ~/.wine is never touched.
USAGE
}

# A device or the system stops it with status 1, the command line with 2.
fail() {
  echo "zkc-vandor: $*" >&2
  exit 1
}
badUsage() {
  echo "zkc-vandor: $* (see --help)" >&2
  exit 2
}

here=$(dirname "$(readlink -f "$0")")
program=$here/../share/zkc-vandor/zkc-vandor.exe
simulator=$here/zkc-sim

ports=""  # one line "N DEVICE" per COM port
nextNumber=1
demo=no

addPort() {  # [N=]DEVICE
  case $1 in
    [1-9]=?*) number=${1%%=*}; device=${1#*=} ;;
    *=*) badUsage "'$1': the COM number before = is 1 to 9" ;;
    ?*) number=$nextNumber; device=$1 ;;
    *) badUsage "--port needs a device, such as /dev/ttyUSB0" ;;
  esac
  [ "$number" -le 9 ] || badUsage "$device would be COM$number; the panel has COM1 to COM9"
  case "
$ports" in *"
$number "*) badUsage "COM$number is given twice" ;; esac
  ports="$ports$number $device
"
  nextNumber=$((number + 1))
}

while [ $# -gt 0 ]; do
  case $1 in
    --help|-h) usage; exit 0 ;;
    --demo) demo=yes; shift ;;
    --port=*) addPort "${1#--port=}"; shift ;;
    --port)
      [ $# -ge 2 ] || badUsage "--port needs a device, such as /dev/ttyUSB0"
      addPort "$2"; shift 2 ;;
    *) badUsage "unknown option '$1'" ;;
  esac
done

if [ "$demo" = yes ] && [ -n "$ports" ]; then badUsage "--demo plays COM1 itself; give it no --port"; fi
if [ "$demo" = no ] && [ -z "$ports" ]; then
  for device in $(ls -1 /dev/ttyUSB* /dev/ttyACM* 2>/dev/null | sort -V); do addPort "$device"; done
  [ -n "$ports" ] || fail "no USB serial adapter found (/dev/ttyUSB*, /dev/ttyACM*); name one with --port DEVICE, or try --demo"
fi

# Every device is checked before Wine starts.
check() {  # device
  [ -e "$1" ] || fail "$1 does not exist"
  [ -c "$1" ] || fail "$1 is not a serial device"
  if [ ! -r "$1" ] || [ ! -w "$1" ]; then
    group=$(stat -c %G "$1")
    fail "you may not open $1: join the group '$group' (sudo usermod -aG $group \$USER) and log in again"
  fi
}
while read -r number device; do
  [ -n "$number" ] && check "$device"
done <<PORTS
$ports
PORTS
[ -f "$program" ] || fail "the panel is missing: $program"
command -v wine >/dev/null 2>&1 || fail "Wine is missing: install the packages wine and wine64"

data=${XDG_DATA_HOME:-$HOME/.local/share}/zkc-vandor
export WINEPREFIX=$data/prefix
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No offer to download Mono or Gecko, and the mount manager keeps the COM
# links as they are made here.
export WINEDLLOVERRIDES="mscoree,mshtml=;mountmgr.sys=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "zkc-vandor: making its Wine prefix in $WINEPREFIX (first start only)"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
rm -f "$WINEPREFIX"/dosdevices/com*

simulatorPid=""
cleanUp() {
  if [ -n "$simulatorPid" ]; then kill "$simulatorPid" 2>/dev/null || true; fi
}
trap cleanUp EXIT INT TERM

if [ "$demo" = yes ]; then
  "$simulator" --link "$WINEPREFIX/dosdevices/com1" --log "$data/zkc-sim.log" \
    --device 5:dac0=1234 >/dev/null &
  simulatorPid=$!
  for _ in $(seq 100); do [ -e "$WINEPREFIX/dosdevices/com1" ] && break; sleep 0.05; done
  [ -e "$WINEPREFIX/dosdevices/com1" ] || fail "the simulated device did not start"
  echo "COM1 is a simulated ZKC device at address 5 with DAC0 = 1234; its line log: $data/zkc-sim.log"
else
  while read -r number device; do
    [ -n "$number" ] || continue
    ln -s "$device" "$WINEPREFIX/dosdevices/com$number"
    echo "COM$number is $device"
  done <<PORTS
$ports
PORTS
fi

wine "$program"
