#!/usr/bin/env bash
# End to end: start tx9.exe as its own process, answer the Game Option
# dialog, type a leg of 301 between Ann and Bob with real key events, answer
# the finish dialogs as a user would, compare the auto-saved CSV byte for
# byte, then exit through the menu and check the INI file written at exit.
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"
{
  ini_window
  ini_game 301 0 3 1
} >"$work/tx9.ini"

hour_before="$(date +%H)"
start_tx9

visit 140
visit 100
visit 121
visit 81
xdotool type --delay 120 40
sleep 0.2
xdotool key Tab

finish_leg 2 Ann "for 40 left"
hour_after="$(date +%H)"

csv="$(wait_csv)" || fail "no auto-saved CSV in $work/data"
name="$(basename "$csv")"
[[ "$name" =~ ^301_[0-9]{8}_([0-9]{2})[0-9]{4}\.csv$ ]] || fail "CSV file name $name"
hour="${BASH_REMATCH[1]}"
[ "$hour" = "$hour_before" ] || [ "$hour" = "$hour_after" ] || fail "file name hour $hour is not the 24-hour clock ($hour_before)"

printf ',Ann,,Bob,\r\nRound,Scored,To Go,Scored,To Go\r\n,*,301,,301\r\n1,140,161,100,201\r\n2,121,40,81,120\r\n3,(2),,,\r\nDarts,8,,,\r\n' >"$work/expected.csv"
cmp "$csv" "$work/expected.csv" || { od -c "$csv" | head -20; fail "CSV differs from the worked example"; }
echo "CSV $name matches the worked example"

exit_tx9

ini="$work/tx9.ini"
grep -q $'^\\[window\\]\r$' "$ini" || fail "INI has no [window] section"
grep -q $'^state=10\r$' "$ini" || fail "INI state"
grep -q $'^auto_save=1\r$' "$ini" || fail "INI auto_save"
grep -q $'^p1_name="Ann"\r$' "$ini" || fail "INI lost the game settings"
grep -q $'^\\[color\\]\r$' "$ini" || fail "INI has no [color] section"
grep -q $'^\\[key\\]' "$ini" && fail "INI has a [key] section although the keys were never customised"
grep -qv $'\r$' "$ini" && fail "INI lines do not all end in CR LF"
grep -q $'^name_list_0="Bob"\r$' "$ini" || fail "INI Name list does not start with Bob"
echo "INI written at exit"
echo "1 passed, 0 failed"
