# Sourced by scripts/test and scripts/demo: one Xvfb display and one persistent
# wineserver for the whole run, both stopped on exit.
# Needs BUILD (the build tree); sets WINEPREFIX and DISPLAY.
# wine_session_start [WIDTHxHEIGHT] takes the screen size (default 1280x1024).

export WINEARCH=win32 WINEDEBUG=-all LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$BUILD/wineprefix"

wine_session_start() {
  local n screen=${1:-1280x1024}
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
    VANTREL_XVFB_PID=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: preparing the prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  wineserver -p 2>/dev/null || true  # one may already serve this prefix
  # Start Wine's own services and desktop now, with output away from the
  # caller: started later by a test, they would inherit CTest's pipes and keep
  # CTest waiting for them to close.
  wineboot >/dev/null 2>&1 </dev/null || true
  # Without a window manager Wine waits about a second whenever a managed
  # window is shown or hidden; unmanaged windows make window tests fast.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null || true
  trap wine_session_stop EXIT
  wine_fonts_check
}

# Prints the faces Wine draws the windows with (host.exe --fonts); fails when
# one is missing, as windows would then show letters for their buttons and
# lists measured in a stranger's font.
wine_fonts_check() {
  local host="$BUILD/bin/host.exe" report="$BUILD/window-fonts.txt"
  if [ ! -f "$host" ]; then
    echo "wine: window fonts not checked yet: $host is not built"
    return 0
  fi
  if wine "$host" --fonts >"$report" 2>/dev/null </dev/null; then
    sed 's/^/wine: /' "$report"
    return 0
  fi
  sed 's/^/wine: /' "$report" >&2
  echo "wine: a font the windows need is missing or lacks Cyrillic; scripts/setup installs and registers them" >&2
  return 1
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  [ -n "${VANTREL_XVFB_PID:-}" ] && kill "$VANTREL_XVFB_PID" 2>/dev/null || true
}
