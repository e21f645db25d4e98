# Sourced: a private Wine prefix under build/ that never offers to download
# Mono or Gecko, and whose port links stay as the caller makes them (the
# mount manager would relink com1 to a real /dev/ttyS0 at every start).
zkcRoot=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$zkcRoot/build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;mountmgr.sys=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export WINEARCH=win64

prepareWinePrefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # Without a window manager Wine waits about 2 s whenever a managed
    # window hides; unmanaged windows hide at once.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  fi
  rm -f "$WINEPREFIX"/dosdevices/com*
}
