#!/usr/bin/env bash
# End to end: start tx9.exe as its own process, answer the Game Option
# dialog, type a leg of 301 between Ann and Bob with real key events, answer
# the finish dialogs as a user would, compare the auto-saved CSV byte for
# byte, then exit through the menu and check the INI file written at exit.
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
printf '[window]\r\nleft=0\r\ntop=0\r\nright=900\r\nbottom=700\r\nstate=10\r\n\r\n[game]\r\nstart_score=301\r\nround_limit=0\r\nround=15\r\nleg_limit=0\r\nmax_leg=3\r\nbest_of=1\r\np1_name="Ann"\r\np1_start_score=0\r\np1_com=0\r\np1_com_level=0\r\np2_name="Bob"\r\np2_start_score=0\r\np2_com=0\r\np2_com_level=0\r\nauto_save=1\r\n\r\n' >"$work/tx9.ini"

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

hour_before="$(date +%H)"
(cd "$work" && wine tx9.exe >"$work/wine.log" 2>&1) &
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
visit 140
visit 100
visit 121
visit 81
xdotool type --delay 120 40
sleep 0.2
xdotool key Tab

finish="$(wait_window '^Finish$')" || fail "the Finish dialog did not open for 40 left"
focus "$finish"
xdotool key 2
message="$(wait_window '^Ann$')" || fail "no finish message titled with the winner's name"
focus "$message"
xdotool key Return
sleep 1
hour_after="$(date +%H)"

csv=""
for _ in $(seq 1 40); do
  csv="$(ls "$work"/data/*.csv 2>/dev/null | head -1)"
  [ -n "$csv" ] && break
  sleep 0.25
done
[ -n "$csv" ] || fail "no auto-saved CSV in $work/data"
name="$(basename "$csv")"
[[ "$name" =~ ^301_[0-9]{8}_([0-9]{2})[0-9]{4}\.csv$ ]] || fail "CSV file name $name"
hour="${BASH_REMATCH[1]}"
[ "$hour" = "$hour_before" ] || [ "$hour" = "$hour_after" ] || fail "file name hour $hour is not the 24-hour clock ($hour_before)"

printf ',Ann,,Bob,\r\nRound,Scored,To Go,Scored,To Go\r\n,*,301,,301\r\n1,140,161,100,201\r\n2,121,40,81,120\r\n3,(2),,,\r\nDarts,8,,,\r\n' >"$work/expected.csv"
cmp "$csv" "$work/expected.csv" || { od -c "$csv" | head -20; fail "CSV differs from the worked example"; }
echo "CSV $name matches the worked example"

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
