# Sourced: a private Wine prefix under build/ that never offers to download
# Mono or Gecko, and whose port links stay as the caller makes them (the
# mount manager would relink com1 to a real /dev/ttyS0 at every start).
zkcRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$zkcRoot/build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;mountmgr.sys=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export WINEARCH=win64

# prepareWinePrefix [managed]: without a window manager (Xvfb) Wine waits
# about 2 s whenever a managed window hides, and draws no caption; so windows
# are unmanaged unless "managed" is asked for, for a desktop with a window
# manager.
prepareWinePrefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
  fi
  local managed=N
  [ "${1:-}" = managed ] && managed=Y
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
  # A relay trace (WINEDEBUG=+relay), when a test asks for one, shows only
  # the calls into winmm: the timer the programs ask for.
  wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d 'winmm.*' /f >/dev/null 2>&1
  wineserver -w
  rm -f "$WINEPREFIX"/dosdevices/com*
}

# The server may take a serial pseudo-terminal as its controlling terminal
# and report each hang-up of it on its output, which is not ours to show.
startQuietWineServer() {
  wineserver -p >/dev/null 2>&1
}
