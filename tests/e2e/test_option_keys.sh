#!/usr/bin/env bash
# End to end: open the Option sheet from the menu, bind the template 57 to
# Ctrl+Q on the Key page, confirm, and press Ctrl+Q: with 57 to go the visit
# is the finish, so the Finish dialog opens. Exit, check the [key] section of
# the INI file, start again and check that Ctrl+Q still enters the template.
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"
{
  ini_window
  ini_game 57 0 3 0
} >"$work/tx9.ini"

# Ctrl+Q on the main window must enter 57, the finish: the Finish dialog asks for the dart.
press_template_key() {
  focus "$main"
  xdotool key ctrl+q
  finish_leg 3 Ann "Ctrl+Q entering the finishing 57 $1"
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
