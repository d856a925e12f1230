#!/usr/bin/env bash
# The end of the real Wakebell.exe from outside, under Wine: a log-off that another program
# cancels leaves it running; a log-off that goes through, and a close request to its hidden
# window (an end task without force), end it as 終了 does: STARTFLG 0 in both settings files,
# the tray icon gone, the process ended by itself. Usage: session_end_test.sh <folder>.
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=tray_common.sh
. "$here/tray_common.sh"

prog_ini="$prog/Wakebell.ini"
data_ini="$data/Wakebell.ini"
helper() { wine "$bin/tray_helper.exe" "$@" 2>/dev/null | tr -d '\r'; }
icon_gone() { [ -z "$(tray_window)" ] || ! icon_normal; }

# start_marked: starts the program and, once it runs, marks both flags 1 so that the end's
# own write of 0 can be seen.
start_marked() {
  start_program
  wait_for 60 find_icon || fail "no tray icon appeared"
  wait_for 10 has_setting "$data_ini" STARTFLG 0 || fail "STARTFLG not written at start-up"
  set_setting "$prog_ini" STARTFLG 1
  set_setting "$data_ini" STARTFLG 1
}

# ended_in_order HOW: the process ends by itself with code 0 and leaves flag 0 and no icon.
ended_in_order() {
  wait_for 20 program_ended || fail "$1 did not end the program"
  wait "$program_pid"
  local code=$?
  program_pid=
  [ "$code" -eq 0 ] || fail "Wakebell.exe ended with $code after $1"
  has_setting "$prog_ini" STARTFLG 0 || fail "STARTFLG not written after $1 (program folder)"
  has_setting "$data_ini" STARTFLG 0 || fail "STARTFLG not written after $1 (data folder)"
  wait_for 10 icon_gone || fail "the tray icon is left after $1"
}

start_marked
# The session does not end after all: nothing happens.
[ "$(helper endsession 0)" = "1" ] || fail "the program did not agree to the session's end"
sleep 2
program_running || fail "a cancelled log-off ended the program"
has_setting "$data_ini" STARTFLG 1 || fail "a cancelled log-off wrote STARTFLG"
find_icon || fail "a cancelled log-off removed the tray icon"
echo "cancelled log-off: still running"

[ "$(helper endsession 1)" = "1" ] || fail "the program did not agree to the session's end"
ended_in_order "the session's end"
echo "log-off: ended in order"

start_marked
helper close >/dev/null || fail "no monitor window to close"
ended_in_order "a close request"
echo "close request: ended in order"
echo "PASS"
