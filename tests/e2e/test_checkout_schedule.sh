#!/usr/bin/env bash
# End to end: start tx9.exe, open New Schedule from the menu with the
# keyboard, delete the last of four entries, save the list and start the
# game; in the first set open the Check-Out for the selected player with
# Ctrl+A, copy its score and enter that as the visit, which must finish the
# leg; play the two other sets out, answer the result, exit, and check the
# CSV of every set and the Schedule written to the INI file.
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

# Four sets of one leg between Ann and Bob; in the first Ann starts from a
# handicap of 40 and Bob from 50.
entry() { # index start p1_start
  printf 'start_score_%d=%d\r\nround_limit_%d=0\r\nround_%d=15\r\nmax_leg_%d=1\r\nbest_of_%d=0\r\np1_name_%d="Ann"\r\np1_start_score_%d=%d\r\np1_com_%d=0\r\np1_com_level_%d=0\r\np2_name_%d="Bob"\r\np2_start_score_%d=0\r\np2_com_%d=0\r\np2_com_level_%d=0\r\n' \
    "$1" "$2" "$1" "$1" "$1" "$1" "$1" "$1" "$3" "$1" "$1" "$1" "$1" "$1" "$1"
}
{
  ini_window
  printf '[game]\r\nauto_save=1\r\n\r\n[schedule]\r\ncount=4\r\n'
  entry 0 50 40
  entry 1 60 60
  entry 2 70 70
  entry 3 80 80
} >"$work/tx9.ini"

start_tx9 Escape

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
finish_leg 1 'Ann|Bob' "set 1 (the Check-Out's score)"

# A finish above 60 cannot be made with the first dart.
for score in 60 70; do
  focus "$main"
  xdotool type --delay 120 "$score"
  sleep 0.2
  xdotool key Tab
  finish_leg 2 'Ann|Bob' "set of $score"
done

result="$(wait_window '^tx9 Ver 0.0.6$')" || fail "no result box after the last set"
focus "$result"
xdotool key Return
sleep 0.5

exit_tx9

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
