#!/usr/bin/env bash
# End to end: open the Option sheet from the menu, bind the template 57 to
# Ctrl+Q on the Key page, confirm, and press Ctrl+Q: with 57 to go the visit
# is the finish, so the Finish dialog opens. Exit, check the [key] section of
# the INI file, start again and check that Ctrl+Q still enters the template.
set -uo pipefail
exe="$1"
[ -n "${DISPLAY:-}" ] || { echo "no X display"; exit 1; }
export WINEDEBUG=-all

work="$(mktemp -d /tmp/tx9-e2e-keys.XXXXXX)"
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp "$exe" "$work/tx9.exe"
printf '[window]\r\nleft=0\r\ntop=0\r\nright=900\r\nbottom=700\r\nstate=10\r\n\r\n[game]\r\nstart_score=57\r\nround_limit=0\r\nround=15\r\nleg_limit=0\r\nmax_leg=3\r\nbest_of=1\r\np1_name="Ann"\r\np1_start_score=0\r\np1_com=0\r\np1_com_level=0\r\np2_name="Bob"\r\np2_start_score=0\r\np2_com=0\r\np2_com_level=0\r\nauto_save=0\r\n\r\n' >"$work/tx9.ini"

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

# Starts tx9, takes the Game Option dialog as it comes and prints the main window.
start_tx9() {
  # exec: the process killed on failure is tx9 itself.
  (cd "$work" && exec wine tx9.exe >>"$work/wine.log" 2>&1) &
  pid=$!
  local dialog
  dialog="$(wait_window '^Game Option$')" || fail "the Game Option dialog did not open by itself"
  focus "$dialog"
  xdotool key Return
  sleep 1
  main="$(wait_window '^tx9 - ')" || fail "no main window"
  focus "$main"
}

# Ctrl+Q on the main window must enter 57, the finish: the Finish dialog asks for the dart.
press_template_key() {
  focus "$main"
  xdotool key ctrl+q
  local finish
  finish="$(wait_window '^Finish$')" || fail "Ctrl+Q did not enter the finishing 57 ($1)"
  focus "$finish"
  xdotool key 3
  local message
  message="$(wait_window '^Ann$')" || fail "no finish message after the dart ($1)"
  focus "$message"
  xdotool key Return
  sleep 0.5
}

exit_tx9() {
  focus "$main"
  xdotool key alt+g
  sleep 0.5
  xdotool key x
  local confirm
  confirm="$(wait_window '^tx9 Ver 0.0.6$')" || fail "Exit did not ask"
  focus "$confirm"
  xdotool key Return
  for _ in $(seq 1 40); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
  done
  kill -0 "$pid" 2>/dev/null && fail "tx9 still running after Exit was confirmed"
  pid=""
}

start_tx9
xdotool key alt+g
sleep 0.5
xdotool key o
sheet="$(wait_window '^Option$')" || fail "Game > Option did not open the sheet"
focus "$sheet"
# From the View page's first control back to the page tabs, then one tab right.
xdotool key shift+Tab Right
sleep 0.5
xdotool key alt+a
select="$(wait_window '^Select key$')" || fail "Add... on the Key page did not open Select key"
focus "$select"
xdotool key Home Tab
xdotool type --delay 100 57
xdotool key Tab ctrl+q
sleep 0.3
xdotool key Return
sleep 0.5
focus "$sheet"
xdotool key Return
for _ in $(seq 1 40); do
  xdotool search --onlyvisible --name '^Option$' >/dev/null 2>&1 || break
  sleep 0.25
done
xdotool search --onlyvisible --name '^Option$' >/dev/null 2>&1 && fail "the sheet did not close with OK"
saved=""
for _ in $(seq 1 20); do
  grep -q $'^action_29=51057\r$' "$work/tx9.ini" && { saved=1; break; }
  sleep 0.25
done
[ -n "$saved" ] || { cat "$work/tx9.ini"; fail "OK did not save the new binding"; }
press_template_key "after OK"
exit_tx9

ini="$work/tx9.ini"
grep -q $'^\\[key\\]\r$' "$ini" || fail "INI has no [key] section"
grep -q $'^count=30\r$' "$ini" || fail "INI key count"
grep -q $'^ctrl_29=8\r$' "$ini" || fail "INI modifiers of the new binding"
grep -q $'^key_29=81\r$' "$ini" || fail "INI key of the new binding"
echo "binding saved"

start_tx9
press_template_key "after a restart"
exit_tx9
echo "1 passed, 0 failed"
