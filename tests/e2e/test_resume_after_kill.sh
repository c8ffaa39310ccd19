#!/usr/bin/env bash
# End to end: type three visits of the worked example, kill tx9.exe with
# SIGKILL, start it again and continue the game when asked; the rest of the
# leg is typed and the auto-saved CSV must hold the whole leg. After a normal
# exit the journal is gone and the next start opens the Game Option dialog
# without asking.
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"
{
  ini_window
  printf '[game]\r\nstart_score=301\r\nround_limit=0\r\np1_name="Ann"\r\np2_name="Bob"\r\nauto_save=1\r\n\r\n'
} >"$work/tx9.ini"

# --- First run: three visits, then the process is killed.
start_tx9
visit 140
visit 100
visit 121
sleep 0.5
kill -9 "$pid"
wait "$pid" 2>/dev/null
wait_ended || fail "tx9 survived SIGKILL"
pid=""
journal="$work/tx9.journal"
[ -f "$journal" ] || fail "no journal beside tx9.ini after the kill"
grep -q '^cells 140 121' "$journal" || fail "the journal lacks Ann's visits: $(cat "$journal")"
grep -q '^cells 100' "$journal" || fail "the journal lacks Bob's visit"
echo "journal holds the three visits after SIGKILL"

# --- Second run: continue the game, finish the leg.
launch_tx9
question="$(wait_window '^tx9 Ver 0.0.6$')" || fail "no question about the interrupted game"
xdotool search --onlyvisible --name '^Game Option$' >/dev/null 2>&1 && fail "Game Option opened before the question"
focus "$question"
xdotool key Return
main="$(wait_window '^tx9 - ')" || fail "no main window after Yes"
sleep 1
xdotool search --onlyvisible --name '^Game Option$' >/dev/null 2>&1 && fail "Game Option opened for a continued game"
focus "$main"
visit 81
visit 40
finish_leg 2 Ann "for 40 left: the visits were not restored"
csv="$(wait_csv)" || fail "no auto-saved CSV after the continued leg"
printf ',Ann,,Bob,\r\nRound,Scored,To Go,Scored,To Go\r\n,*,301,,301\r\n1,140,161,100,201\r\n2,121,40,81,120\r\n3,(2),,,\r\nDarts,8,,,\r\n' >"$work/expected.csv"
cmp "$csv" "$work/expected.csv" || { od -c "$csv" | head; fail "the continued leg's CSV differs"; }
echo "continued leg saved whole"
exit_tx9
[ -f "$journal" ] && fail "the journal is still there after a normal exit"
ls "$work" | grep -q '^tx9\.journal\.' && fail "the continued journal was set aside instead of used"

# --- Third run: nothing to continue.
launch_tx9
dialog="$(wait_window '^Game Option$')" || fail "the Game Option dialog did not open after a normal exit"
xdotool search --onlyvisible --name '^tx9 Ver 0.0.6$' >/dev/null 2>&1 && fail "asked again after a normal exit"
focus "$dialog"
xdotool key Escape
main="$(wait_window '^tx9 - ')" || fail "no main window"
exit_tx9
echo "1 passed, 0 failed"
