#!/usr/bin/env bash
# End to end with the left-score panels, the player panels and the key guide
# bar on: type visits with real key events, hold Shift and click a key of the
# guide bar, release it and click another, then finish the leg and compare
# the auto-saved CSV; the view switches must be in the INI written at exit.
set -uo pipefail
exe="$1"
[ -n "${DISPLAY:-}" ] || { echo "no X display"; exit 1; }
export WINEDEBUG=-all

work="$(mktemp -d /tmp/tx9-e2e-displays.XXXXXX)"
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp "$exe" "$work/tx9.exe"
printf '[window]\r\nleft=0\r\ntop=0\r\nright=900\r\nbottom=700\r\nstate=10\r\n\r\n[view]\r\nplayer=1\r\nleft=1\r\nguide=1\r\nthrow_count=1\r\n\r\n[game]\r\nstart_score=301\r\nround_limit=0\r\nround=15\r\nleg_limit=0\r\nmax_leg=3\r\nbest_of=1\r\np1_name="Ann"\r\np1_start_score=0\r\np1_com=0\r\np1_com_level=0\r\np2_name="Bob"\r\np2_start_score=0\r\np2_com=0\r\np2_com_level=0\r\nauto_save=1\r\n\r\n' >"$work/tx9.ini"

fail() {
  echo "FAIL: $*"
  [ -f "$work/wine.log" ] && tail -20 "$work/wine.log"
  exit 1
}

wait_window() {
  local pattern="$1" id
  for _ in $(seq 1 120); do
    id="$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1)"
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.25
  done
  return 1
}

focus() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" >/dev/null 2>&1
  sleep 0.3
}

(cd "$work" && exec wine tx9.exe >"$work/wine.log" 2>&1) &
pid=$!

dialog="$(wait_window '^Game Option$')" || fail "the Game Option dialog did not open by itself"
focus "$dialog"
xdotool key Return
sleep 1
main="$(wait_window '^tx9 - ')" || fail "no main window"
focus "$main"

visit() {
  xdotool type --delay 120 "$1"
  sleep 0.2
  xdotool key Tab
  sleep 0.4
}

# The guide bar runs along the bottom of the client area, F7 to F12 in its
# lower row: a point 10 pixels above the bottom is on that row.
# The window's own place (xdotool's may count the frame twice).
geometry="$(xwininfo -id "$main")"
X="$(awk '/Absolute upper-left X/ { print $NF }' <<<"$geometry")"
Y="$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$geometry")"
WIDTH="$(awk '/^ *Width:/ { print $NF }' <<<"$geometry")"
HEIGHT="$(awk '/^ *Height:/ { print $NF }' <<<"$geometry")"
row_y=$((Y + HEIGHT - 10))
click_key() { # key number 7 to 12
  xdotool mousemove $((X + WIDTH * (2 * ($1 - 7) + 1) / 12)) "$row_y"
  sleep 0.2
  xdotool click 1
  sleep 0.5
}

visit 60  # Ann 241
visit 45  # Bob 256
visit 100 # Ann 141
# Held Shift: the bar shows the Shift layer, where F7 enters 140.
xdotool keydown shift
sleep 0.5
click_key 7 # Bob 116
xdotool keyup shift
sleep 0.5
visit 81 # Ann 60
# Back on the plain layer F8 enters 100 (the Shift layer's 180 would be refused).
click_key 8 # Bob 16
xdotool type --delay 120 60
sleep 0.2
xdotool key Tab

# Answer a dialog with a key until it is gone (a key sent while the dialog is
# still taking the focus from the main window can be lost).
answer() { # window key
  for _ in $(seq 1 10); do
    focus "$1"
    xdotool key "$2"
    sleep 0.5
    xdotool search --onlyvisible --name "^$(xdotool getwindowname "$1" 2>/dev/null)\$" 2>/dev/null | grep -qx "$1" || return 0
  done
  return 1
}

xdotool mousemove 1200 1000 # off the window: the pointer plays no part from here on
finish="$(wait_window '^Finish$')" || fail "the Finish dialog did not open for 60 left"
answer "$finish" 3 || fail "the Finish dialog did not take the 3rd dart"
message="$(wait_window '^Ann$')" || fail "no finish message titled with the winner's name"
answer "$message" Return || fail "the finish message did not close"
sleep 1

csv=""
for _ in $(seq 1 40); do
  csv="$(ls "$work"/data/*.csv 2>/dev/null | head -1)"
  [ -n "$csv" ] && break
  sleep 0.25
done
[ -n "$csv" ] || fail "no auto-saved CSV in $work/data"
printf ',Ann,,Bob,\r\nRound,Scored,To Go,Scored,To Go\r\n,*,301,,301\r\n1,60,241,45,256\r\n2,100,141,140,116\r\n3,81,60,100,16\r\n4,(3),,,\r\nDarts,12,,,\r\n' >"$work/expected.csv"
cmp "$csv" "$work/expected.csv" || { cat -A "$csv"; fail "CSV differs: the guide bar clicks did not enter 140 and 100"; }
echo "guide bar clicks entered the Shift-layer and plain-layer templates"

focus "$main"
xdotool key alt+g
sleep 0.5
xdotool key x
confirm="$(wait_window '^tx9 Ver 0.0.6$')" || fail "Exit did not ask"
focus "$confirm"
xdotool key Return
for _ in $(seq 1 40); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.25
done
kill -0 "$pid" 2>/dev/null && fail "tx9 still running after Exit was confirmed"
pid=""

ini="$work/tx9.ini"
view="$(awk '/^\[view\]/ { v = 1; next } /^\[/ { v = 0 } v' "$ini" | tr -d '\r')"
for key in player left guide; do
  grep -qx "$key=1" <<<"$view" || fail "INI lost view $key=1"
done
echo "view switches kept in the INI"
echo "1 passed, 0 failed"
