#!/usr/bin/env bash
# Start-up time of tx9.exe under Wine: from starting the process to its main
# window ("tx9 - ...") being visible, polled with xdotool every 10 ms. Builds
# nothing. The first run starts a fresh wineserver for the prefix, so it
# carries the prefix's warm-up; the others reuse the server and are reported
# apart as warm runs.
#
#   scripts/bench-startup.sh path/to/tx9.exe [runs, default 5]
#
# Uses DISPLAY when it is reachable, else a private Xvfb with openbox. The
# Wine prefix is TX9_WINEPREFIX, by default build/wineprefix-bench of its own:
# its wineserver is stopped before the first run and at the end, so do not
# point it at a prefix something else is using.
set -euo pipefail
TX9_ROOT="$(cd "$(dirname "$0")/.." && pwd)"

if [ $# -lt 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 path/to/tx9.exe [runs]" >&2
  exit 2
fi
exe="$(readlink -f "$1")"
runs="${2:-5}"
[ "$runs" -ge 2 ] 2>/dev/null || { echo "runs must be 2 or more" >&2; exit 2; }
command -v xdotool >/dev/null || { echo "xdotool is needed" >&2; exit 2; }

export TX9_WINEPREFIX="${TX9_WINEPREFIX:-$TX9_ROOT/build/wineprefix-bench}"
mkdir -p "$TX9_ROOT/build"
# shellcheck source=scripts/display.sh
source "$TX9_ROOT/scripts/display.sh"
tx9_start_display
tx9_prepare_wine

# The program runs from a folder of its own: the INI it writes and the
# arrange.txt it looks for are never the real ones.
work="$(mktemp -d /tmp/tx9-bench-startup.XXXXXX)"
cp "$exe" "$work/tx9.exe"
pid=""

stop_program() {
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}

finish() {
  stop_program
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
  [ -z "${TX9_STARTED_DISPLAY:-}" ] || tx9_stop_display
}
trap finish EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }

main_window_visible() {
  xdotool search --onlyvisible --name '^tx9 - ' >/dev/null 2>&1
}

# One start: prints the milliseconds to the visible main window, or fails.
one_run() {
  rm -f "$work/tx9.ini"
  if main_window_visible; then
    echo "a tx9 main window is already open on $DISPLAY; close it first" >&2
    return 1
  fi
  local start end
  start="$(now_ms)"
  (cd "$work" && exec wine tx9.exe >"$work/wine.log" 2>&1) &
  pid=$!
  while ! main_window_visible; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "tx9.exe ended before its window showed; see below" >&2
      cat "$work/wine.log" >&2
      return 1
    fi
    if [ $(($(now_ms) - start)) -gt 60000 ]; then
      echo "no main window within 60 s" >&2
      return 1
    fi
    sleep 0.01
  done
  end="$(now_ms)"
  echo $((end - start))
  # The Game Option dialog is still open: the process is simply ended.
  stop_program
  # Wait until the window is gone, so the next run cannot find this one.
  for _ in $(seq 1 200); do
    main_window_visible || break
    sleep 0.05
  done
}

# Median, min and max of the numbers given.
summary() {
  printf '%s\n' "$@" | sort -n | awk '
    { v[NR] = $1 }
    END {
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "median %d ms, min %d ms, max %d ms (%d runs)", m, v[1], v[NR], NR
    }'
}

echo "tx9 start-up, process start to visible main window: $exe"
echo "Wine prefix $WINEPREFIX, display $DISPLAY, $runs runs"

# A cold first run: a wineserver of its own for this prefix, started by the program.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
times=()
for i in $(seq 1 "$runs"); do
  if [ "$i" -eq 2 ]; then wineserver -p >/dev/null 2>&1 || true; fi
  t="$(one_run)" || exit 1
  times+=("$t")
  label="warm"
  [ "$i" -eq 1 ] && label="first (wineserver and prefix warm-up)"
  printf '  run %d: %5d ms  %s\n' "$i" "$t" "$label"
done

echo "First run: ${times[0]} ms"
echo "Warm runs: $(summary "${times[@]:1}")"
echo "All runs:  $(summary "${times[@]}")"
