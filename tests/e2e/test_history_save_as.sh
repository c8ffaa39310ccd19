#!/usr/bin/env bash
# End to end: play a one-leg set of 301 between Ann and Bob with real key
# events, open the Game History with Ctrl+H, and save the finished set with
# Save As through the system's Save dialog: first to a new name, then over the
# same file after the dialog's own question. The files must hold the set's CSV
# byte for byte. A double click on a row opens the Score List; Exit ends tx9.
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
printf '[window]\r\nleft=0\r\ntop=0\r\nright=900\r\nbottom=700\r\nstate=10\r\n\r\n[game]\r\nstart_score=301\r\nround_limit=0\r\nround=15\r\nleg_limit=1\r\nmax_leg=1\r\nbest_of=1\r\np1_name="Ann"\r\np1_start_score=0\r\np1_com=0\r\np1_com_level=0\r\np2_name="Bob"\r\np2_start_score=0\r\np2_com=0\r\np2_com_level=0\r\nauto_save=0\r\n\r\n' >"$work/tx9.ini"

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

wait_gone() {
  for _ in $(seq 1 40); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.25
  done
  return 1
}

focus() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" >/dev/null 2>&1
  sleep 0.3
}

(cd "$work" && wine tx9.exe >"$work/wine.log" 2>&1) &
pid=$!

dialog="$(wait_window '^Game Option$')" || fail "the Game Option dialog did not open by itself"
focus "$dialog"
xdotool key Return
sleep 1
main="$(wait_window '^tx9 - ')" || fail "no main window"
focus "$main"

for points in 140 100 121 81 40; do
  xdotool type --delay 120 "$points"
  sleep 0.2
  xdotool key Tab
  sleep 0.4
done
finish="$(wait_window '^Finish$')" || fail "the Finish dialog did not open for 40 left"
focus "$finish"
xdotool key 2
message="$(wait_window '^Ann$')" || fail "no finish message titled with the winner's name"
focus "$message"
xdotool key Return
sleep 1

# The set of one leg is over and archived; the next set has begun.
focus "$main"
xdotool key ctrl+h
history="$(wait_window '^Game History$')" || fail "Ctrl+H did not open the Game History"
focus "$history"

target="$work/saved set.csv"
winpath="Z:${target//\//\\}"
printf ',Ann,,Bob,\r\nRound,Scored,To Go,Scored,To Go\r\n,*,301,,301\r\n1,140,161,100,201\r\n2,121,40,81,120\r\n3,(2),,,\r\nDarts,8,,,\r\n' >"$work/expected.csv"

# Save As to a new name: the dialog proposes the set's own name, the user types another.
save_as() {
  focus "$history"
  xdotool key alt+s
  save="$(wait_window '^Save As$')" || fail "Save As did not show the Save dialog"
  focus "$save"
  xdotool key ctrl+a
  xdotool type --delay 30 "$winpath"
  sleep 0.3
  xdotool key Return
}
save_as
for _ in $(seq 1 40); do [ -f "$target" ] && break; sleep 0.25; done
[ -f "$target" ] || fail "Save As wrote no file at $target"
sleep 0.5
cmp "$target" "$work/expected.csv" || { od -c "$target" | head; fail "the saved set differs from its CSV"; }
echo "Save As wrote the set byte for byte"

# Over the same file: the Save dialog asks first; No leaves the file alone, Yes replaces it.
printf 'old\r\n' >"$target"
# The question shows over the Save dialog: two windows of that title.
wait_question() {
  for _ in $(seq 1 40); do
    [ "$(xdotool search --onlyvisible --name '^Save As$' 2>/dev/null | wc -l)" -ge 2 ] && return 0
    sleep 0.25
  done
  return 1
}
save_as
wait_question || fail "saving over an existing file did not ask first"
ask="$(xdotool search --onlyvisible --name '^Save As$' 2>/dev/null | tail -1)"
focus "$ask"
xdotool key alt+n
sleep 1
cmp -s "$target" <(printf 'old\r\n') || fail "the file changed although the overwrite was refused"
save="$(wait_window '^Save As$')" || fail "the Save dialog went away after No"
focus "$save"
xdotool key Return
wait_question || fail "saving over the file again did not ask"
ask="$(xdotool search --onlyvisible --name '^Save As$' 2>/dev/null | tail -1)"
focus "$ask"
xdotool key alt+y
for _ in $(seq 1 40); do cmp -s "$target" "$work/expected.csv" && break; sleep 0.25; done
cmp "$target" "$work/expected.csv" || fail "the confirmed overwrite did not write the set"
echo "Overwriting asked first and then wrote the set"

# A double click on a row opens the Score List.
focus "$history"
xdotool mousemove --window "$history" 150 60 click --repeat 2 --delay 80 1
list="$(wait_window '^Score List$')" || fail "a double click on a row did not open the Score List"
focus "$list"
xdotool key Escape
wait_gone '^Score List$' || fail "Escape did not close the Score List"

focus "$history"
xdotool key Escape
wait_gone '^Game History$' || fail "Escape did not close the Game History"

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
echo "1 passed, 0 failed"
