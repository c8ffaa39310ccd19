#!/usr/bin/env bash
# End to end: play a one-leg set of 301 between Ann and Bob with real key
# events, open the Game History with Ctrl+H, and save the finished set with
# Save As through the system's Save dialog: first to a new name, then over the
# same file after the dialog's own question. The files must hold the set's CSV
# byte for byte. A double click on a row opens the Score List; Exit ends tx9.
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"
{
  ini_window
  ini_game 301 1 1 0
} >"$work/tx9.ini"

start_tx9

for points in 140 100 121 81 40; do
  visit "$points"
done
finish_leg 2 Ann "for 40 left"

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

exit_tx9
echo "1 passed, 0 failed"
