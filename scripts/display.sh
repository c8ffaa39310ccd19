# Sourced by the scripts that need an X display for Wine. Without DISPLAY it
# starts Xvfb (and openbox, so that key events reach Wine windows) and stops
# them again when the calling script exits.
tx9_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  TX9_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  openbox >/dev/null 2>&1 &
  TX9_WM_PID=$!
  sleep 0.5
  TX9_STARTED_DISPLAY=1
  trap tx9_stop_display EXIT
}

tx9_stop_display() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  [ -n "${TX9_WM_PID:-}" ] && kill "$TX9_WM_PID" 2>/dev/null || true
  [ -n "${TX9_XVFB_PID:-}" ] && kill "$TX9_XVFB_PID" 2>/dev/null || true
}

# A Wine prefix of the project's own, made once; Japanese fonts mapped.
tx9_prepare_wine() {
  export WINEPREFIX="${TX9_WINEPREFIX:-$TX9_ROOT/build/wineprefix}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX (first start takes a little while)"
    wineboot -i >"$TX9_ROOT/build/wineboot.log" 2>&1 || true
    wineserver -w || true
  fi
  # The font replacements go into the prefix once; regedit on every run only costs start-up time.
  if [ -f "$TX9_ROOT/scripts/wine-japanese-fonts.sh" ] &&
    ! grep -q '^"MS UI Gothic"=' "$WINEPREFIX/user.reg" 2>/dev/null; then
    bash "$TX9_ROOT/scripts/wine-japanese-fonts.sh" >/dev/null 2>&1 || true
  fi
  # The window test programs run with windows the window manager leaves alone
  # (they mark themselves so as well, but only from their first run on).
  local reg="$TX9_ROOT/build/unmanaged-tests.reg" exe
  printf 'REGEDIT4\r\n' >"$reg"
  for exe in "$TX9_ROOT"/build/win/win_*.exe; do
    [ -e "$exe" ] || continue
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s\\X11 Driver]\r\n"Managed"="N"\r\n' \
      "$(basename "$exe")" >>"$reg"
  done
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1 </dev/null || true
  # Keep one wineserver and Wine's own service processes for the whole run,
  # started here with their output going nowhere: a Wine process started
  # later by a test runner would otherwise hand them the runner's output
  # pipe, which they keep open, and the runner would wait for it forever.
  # A persistent wineserver left by an earlier run never ends by itself, and
  # waiting for it would hang: stop it first.
  wineserver -k >/dev/null 2>&1 </dev/null || true
  wineserver -w >/dev/null 2>&1 </dev/null || true
  wineserver -p >/dev/null 2>&1 </dev/null || true
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}
