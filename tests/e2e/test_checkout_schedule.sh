#!/usr/bin/env bash
# End to end: start tx9.exe, open New Schedule from the menu with the
# keyboard, delete the last of four entries, save the list and start the
# game; in the first set open the Check-Out for the selected player with
# Ctrl+A, copy its score and enter that as the visit, which must finish the
# leg; play the two other sets out, answer the result, exit, and check the
# CSV of every set and the Schedule written to the INI file.
set -uo pipefail
exe="$1"
[ -n "${DISPLAY:-}" ] || { echo "no X display"; exit 1; }
export WINEDEBUG=-all

work="$(mktemp -d /tmp/tx9-e2e.XXXXXX)"
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp "$exe" "$work/tx9.exe"

# Four sets of one leg between Ann and Bob; in the first Ann starts from a
# handicap of 40 and Bob from 50.
entry() { # index start p1_start
  printf 'start_score_%d=%d\r\nround_limit_%d=0\r\nround_%d=15\r\nmax_leg_%d=1\r\nbest_of_%d=0\r\np1_name_%d="Ann"\r\np1_start_score_%d=%d\r\np1_com_%d=0\r\np1_com_level_%d=0\r\np2_name_%d="Bob"\r\np2_start_score_%d=0\r\np2_com_%d=0\r\np2_com_level_%d=0\r\n' \
    "$1" "$2" "$1" "$1" "$1" "$1" "$1" "$1" "$3" "$1" "$1" "$1" "$1" "$1" "$1"
}
{
  printf '[window]\r\nleft=0\r\ntop=0\r\nright=900\r\nbottom=700\r\nstate=10\r\n\r\n[game]\r\nauto_save=1\r\n\r\n[schedule]\r\ncount=4\r\n'
  entry 0 50 40
  entry 1 60 60
  entry 2 70 70
  entry 3 80 80
} >"$work/tx9.ini"

fail() {
  echo "FAIL: $*"
  [ -f "$work/wine.log" ] && tail -20 "$work/wine.log"
  exit 1
}

# Wait for a visible window whose title matches; print its id.
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

# Finish the open leg with the dart of the key (1 to 3) and confirm the finish message.
finish_with_dart() {
  local finish message
  finish="$(wait_window '^Finish$')" || fail "$1: the Finish dialog did not open"
  focus "$finish"
  xdotool key "$2"
  message="$(wait_window '^(Ann|Bob)$')" || fail "$1: no finish message titled with the winner's name"
  focus "$message"
  xdotool key Return
  sleep 1
}

(cd "$work" && wine tx9.exe >"$work/wine.log" 2>&1) &
pid=$!

dialog="$(wait_window '^Game Option$')" || fail "the Game Option dialog did not open by itself"
focus "$dialog"
xdotool key Escape
main="$(wait_window '^tx9 - ')" || fail "no main window"
focus "$main"

xdotool key alt+g
sleep 0.5
xdotool key e
schedule="$(wait_window '^Schedule Option$')" || fail "New Schedule did not open the Schedule Option dialog"
focus "$schedule"
xdotool key End Delete
question="$(wait_window '^tx9 Ver 0.0.6$')" || fail "Delete did not ask"
focus "$question"
xdotool key Return
sleep 0.5
focus "$schedule"
xdotool key alt+v
saved="$(wait_window '^tx9 Ver 0.0.6$')" || fail "Save Option did not confirm"
focus "$saved"
xdotool key Return
sleep 0.5
focus "$schedule"
xdotool key Return # Game Start
sleep 1

main="$(wait_window 'Schedule mode$')" || fail "the title does not show the Schedule mode"
focus "$main"
xdotool key ctrl+a
checkout="$(wait_window '^Check-Out$')" || fail "Ctrl+A did not open the Check-Out dialog"
focus "$checkout"
xdotool key Home shift+End ctrl+c Escape
sleep 0.5
focus "$main"
xdotool key ctrl+v Tab
finish_with_dart "set 1 (the Check-Out's score)" 1

# A finish above 60 cannot be made with the first dart.
for score in 60 70; do
  focus "$main"
  xdotool type --delay 120 "$score"
  sleep 0.2
  xdotool key Tab
  finish_with_dart "set of $score" 2
done

result="$(wait_window '^tx9 Ver 0.0.6$')" || fail "no result box after the last set"
focus "$result"
xdotool key Return
sleep 0.5

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

for start in 50 60 70; do
  ls "$work"/data/${start}_*.csv >/dev/null 2>&1 || fail "no CSV of the set of $start"
done
ls "$work"/data/80_*.csv >/dev/null 2>&1 && fail "the deleted entry was played"
first="$(ls "$work"/data/50_*.csv | head -1)"
grep -q $'^,\\*,40,,50\r$' "$first" || { cat "$first"; fail "set 1 did not start Ann from 40"; }
grep -q $'^1,(1),,,\r$' "$first" || { cat "$first"; fail "the Check-Out's score did not finish set 1"; }
echo "CSV of every set written"

ini="$work/tx9.ini"
grep -q $'^count=3\r$' "$ini" || fail "INI Schedule count after Save Option"
grep -q $'^start_score_2=70\r$' "$ini" || fail "INI Schedule entry 2"
grep -q $'^p1_start_score_0=40\r$' "$ini" || fail "INI Schedule entry 0 lost its handicap"
echo "Schedule saved to the INI file"
echo "1 passed, 0 failed"
