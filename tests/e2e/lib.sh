# Sourced by the end-to-end scripts: a scratch folder with its own copy of
# tx9.exe, starting and stopping tx9 under Wine, and finding its windows with
# xdotool. A script that ends early, however it ends, never leaves tx9
# running behind it: a stray window would take the keys of the next script.
set -uo pipefail

# e2e_begin EXE: checks the display and makes the scratch folder $work.
e2e_begin() {
  [ -n "${DISPLAY:-}" ] || { echo "no X display"; exit 1; }
  export WINEDEBUG=-all
  work="$(mktemp -d "/tmp/tx9-e2e-$(basename "$0" .sh).XXXXXX")"
  pid=""
  trap e2e_cleanup EXIT
  trap 'exit 1' INT TERM HUP
  cp "$1" "$work/tx9.exe"
}

# Ends tx9 if it still runs (asked first, then forced) and removes $work.
e2e_cleanup() {
  if [ -n "${pid:-}" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    for _ in $(seq 1 20); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
  fi
  pid=""
  rm -rf "$work"
}

fail() {
  echo "FAIL: $*"
  [ -f "$work/wine.log" ] && tail -20 "$work/wine.log"
  exit 1
}

# The [window] section every script starts from: a normal window at 0,0.
ini_window() {
  printf '[window]\r\nleft=0\r\ntop=0\r\nright=900\r\nbottom=700\r\nstate=10\r\n\r\n'
}

# ini_game START LEG_LIMIT MAX_LEG AUTO_SAVE: a [game] section of Ann and Bob.
ini_game() {
  printf '[game]\r\nstart_score=%d\r\nround_limit=0\r\nround=15\r\nleg_limit=%d\r\nmax_leg=%d\r\nbest_of=1\r\np1_name="Ann"\r\np1_start_score=0\r\np1_com=0\r\np1_com_level=0\r\np2_name="Bob"\r\np2_start_score=0\r\np2_com=0\r\np2_com_level=0\r\nauto_save=%d\r\n\r\n' \
    "$1" "$2" "$3" "$4"
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

# Wait until no visible window's title matches.
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

# Types a visit's points into the focused main window and enters them.
visit() {
  xdotool type --delay 120 "$1"
  sleep 0.2
  xdotool key Tab
  sleep 0.4
}

# finish_leg DART WINNER WHAT: the Finish dialog takes the dart (1 to 3) and
# the finish message, titled with the winner's name (a pattern), is closed.
finish_leg() {
  local finish message
  finish="$(wait_window '^Finish$')" || fail "the Finish dialog did not open ($3)"
  focus "$finish"
  xdotool key "$1"
  message="$(wait_window "^($2)\$")" || fail "no finish message titled with the winner's name ($3)"
  focus "$message"
  xdotool key Return
  sleep 1
}

# Starts tx9 in $work. exec: $pid is tx9's own Wine process, the one the
# clean-up ends.
launch_tx9() {
  (cd "$work" && exec wine tx9.exe >>"$work/wine.log" 2>&1) &
  pid=$!
}

# Wait until tx9's process has ended.
wait_ended() {
  for _ in $(seq 1 40); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.25
  done
  return 1
}

# start_tx9 [KEY]: starts tx9, answers the Game Option dialog that opens by
# itself with KEY (Return by default) and sets $main.
start_tx9() {
  launch_tx9
  local dialog
  dialog="$(wait_window '^Game Option$')" || fail "the Game Option dialog did not open by itself"
  focus "$dialog"
  xdotool key "${1:-Return}"
  sleep 1
  main="$(wait_window '^tx9 - ')" || fail "no main window"
  focus "$main"
}

# Game > Exit from the main window, confirmed; tx9 must end.
exit_tx9() {
  focus "$main"
  xdotool key alt+g
  sleep 0.5
  xdotool key x
  local confirm
  confirm="$(wait_window '^tx9 Ver 0.0.6$')" || fail "Exit did not ask"
  focus "$confirm"
  xdotool key Return
  wait_ended || fail "tx9 still running after Exit was confirmed"
  pid=""
}

# Prints the first CSV auto-saved in $work/data once there is one.
wait_csv() {
  local csv
  for _ in $(seq 1 40); do
    csv="$(ls "$work"/data/*.csv 2>/dev/null | head -1)"
    [ -n "$csv" ] && { echo "$csv"; return 0; }
    sleep 0.25
  done
  return 1
}
