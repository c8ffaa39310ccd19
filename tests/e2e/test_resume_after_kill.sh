#!/usr/bin/env bash
# End to end: type three visits of the worked example, kill tx9.exe with
# SIGKILL, start it again and continue the game when asked; the rest of the
# leg is typed and the auto-saved CSV must hold the whole leg. After a normal
# exit the journal is gone and the next start opens the Game Option dialog
# without asking.
set -uo pipefail
exe="$1"
[ -n "${DISPLAY:-}" ] || { echo "no X display"; exit 1; }
export WINEDEBUG=-all

work="$(mktemp -d /tmp/tx9-e2e.XXXXXX)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp "$exe" "$work/tx9.exe"
printf '[window]\r\nleft=0\r\ntop=0\r\nright=900\r\nbottom=700\r\nstate=10\r\n\r\n[game]\r\nstart_score=301\r\nround_limit=0\r\np1_name="Ann"\r\np2_name="Bob"\r\nauto_save=1\r\n\r\n' >"$work/tx9.ini"

fail() {
  echo "FAIL: $*"
  exit 1
}

# A visible window whose title matches, or nothing after about 30 s.
wait_window() {
  local id
  for _ in $(seq 1 120); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)"
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.25
  done
  return 1
}

focus() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" >/dev/null 2>&1
  sleep 0.3
}

# exec: the process started is tx9.exe itself, so its pid can be killed.
start_tx9() {
  (cd "$work" && exec wine tx9.exe >>"$work/wine.log" 2>&1) &
  pid=$!
}

visit() {
  xdotool type --delay 120 "$1"
  sleep 0.2
  xdotool key Tab
  sleep 0.4
}

wait_gone() {
  for _ in $(seq 1 40); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.25
  done
  return 1
}

exit_by_menu() {
  focus "$1"
  xdotool key alt+g
  sleep 0.5
  xdotool key x
  local confirm
  confirm="$(wait_window '^tx9 Ver 0.0.6$')" || fail "Exit did not ask"
  focus "$confirm"
  xdotool key Return
  wait_gone || fail "tx9 still running after Exit was confirmed"
  pid=""
}

# --- First run: three visits, then the process is killed.
start_tx9
dialog="$(wait_window '^Game Option$')" || fail "the Game Option dialog did not open"
focus "$dialog"
xdotool key Return
main="$(wait_window '^tx9 - ')" || fail "no main window"
focus "$main"
visit 140
visit 100
visit 121
sleep 0.5
kill -9 "$pid"
wait "$pid" 2>/dev/null
wait_gone || fail "tx9 survived SIGKILL"
pid=""
journal="$work/tx9.journal"
[ -f "$journal" ] || fail "no journal beside tx9.ini after the kill"
grep -q '^cells 140 121' "$journal" || fail "the journal lacks Ann's visits: $(cat "$journal")"
grep -q '^cells 100' "$journal" || fail "the journal lacks Bob's visit"
echo "journal holds the three visits after SIGKILL"

# --- Second run: continue the game, finish the leg.
start_tx9
question="$(wait_window '^tx9 Ver 0.0.6$')" || fail "no question about the interrupted game"
xdotool search --onlyvisible --name '^Game Option$' >/dev/null 2>&1 && fail "Game Option opened before the question"
focus "$question"
xdotool key Return
main="$(wait_window '^tx9 - ')" || fail "no main window after Yes"
sleep 1
xdotool search --onlyvisible --name '^Game Option$' >/dev/null 2>&1 && fail "Game Option opened for a continued game"
focus "$main"
visit 81
xdotool type --delay 120 40
sleep 0.2
xdotool key Tab
finish="$(wait_window '^Finish$')" || fail "the Finish dialog did not open for 40 left: the visits were not restored"
focus "$finish"
xdotool key 2
message="$(wait_window '^Ann$')" || fail "no finish message"
focus "$message"
xdotool key Return
csv=""
for _ in $(seq 1 40); do
  csv="$(ls "$work"/data/*.csv 2>/dev/null | head -1)"
  [ -n "$csv" ] && break
  sleep 0.25
done
[ -n "$csv" ] || fail "no auto-saved CSV after the continued leg"
printf ',Ann,,Bob,\r\nRound,Scored,To Go,Scored,To Go\r\n,*,301,,301\r\n1,140,161,100,201\r\n2,121,40,81,120\r\n3,(2),,,\r\nDarts,8,,,\r\n' >"$work/expected.csv"
cmp "$csv" "$work/expected.csv" || { od -c "$csv" | head; fail "the continued leg's CSV differs"; }
echo "continued leg saved whole"
exit_by_menu "$main"
[ -f "$journal" ] && fail "the journal is still there after a normal exit"
ls "$work" | grep -q '^tx9\.journal\.' && fail "the continued journal was set aside instead of used"

# --- Third run: nothing to continue.
start_tx9
dialog="$(wait_window '^Game Option$')" || fail "the Game Option dialog did not open after a normal exit"
xdotool search --onlyvisible --name '^tx9 Ver 0.0.6$' >/dev/null 2>&1 && fail "asked again after a normal exit"
focus "$dialog"
xdotool key Escape
main="$(wait_window '^tx9 - ')" || fail "no main window"
exit_by_menu "$main"
echo "1 passed, 0 failed"
