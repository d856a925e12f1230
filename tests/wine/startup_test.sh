#!/usr/bin/env bash
# Start-up and 終了 of the real Wakebell.exe under Wine: the instance flag written into both
# settings files, the tray icon, a second start refused while the first one runs with the flag
# set, and a clean end from the tray menu. Usage: startup_test.sh <folder of Wakebell.exe>.
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=tray_common.sh
. "$here/tray_common.sh"

prog_ini="$prog/Wakebell.ini"
data_ini="$data/Wakebell.ini"

start_program
wait_for 60 find_icon || fail "no tray icon appeared"
wait_for 10 has_setting "$prog_ini" STARTFLG 0 || fail "STARTFLG not written beside the program"
wait_for 10 has_setting "$data_ini" STARTFLG 0 || fail "STARTFLG not written beside the data file"
has_setting "$prog_ini" DATAPATH "$data_win\\Wakebell.dat" || fail "DATAPATH lost: $(cat "$prog_ini")"
echo "started: STARTFLG 0 in both settings files, icon at $icon_x,$icon_y"
shot started >/dev/null

# Another instance runs and the flag says so: a second start ends at once and writes nothing.
set_setting "$data_ini" STARTFLG 1
before=$(md5sum "$prog_ini" "$data_ini")
wine "$prog/Wakebell.exe" >"$work/second.log" 2>&1 &
second=$!
ended_second() { ! kill -0 "$second" 2>/dev/null; }
wait_for 20 ended_second || { kill "$second"; fail "the second instance did not end"; }
wait "$second" || fail "the second instance ended with an error"
[ "$(md5sum "$prog_ini" "$data_ini")" = "$before" ] || fail "the second instance wrote the settings"
program_running || fail "the first instance went away"
[ "$(xdotool search --name "Wine System Tray" | wc -l)" -le 1 ] || fail "a second tray appeared"
echo "second start with STARTFLG 1 ended without writing"

# 終了: the process ends by itself and leaves the flag at 0 in both files.
choose "$KEYS_END" program_ended || fail "終了 did not end the program"
wait "$program_pid"
code=$?
program_pid=
[ "$code" -eq 0 ] || fail "Wakebell.exe ended with $code"
has_setting "$prog_ini" STARTFLG 0 || fail "STARTFLG not written at the end (program folder)"
has_setting "$data_ini" STARTFLG 0 || fail "STARTFLG not written at the end (data folder)"
no_program_window() { [ -z "$(xdotool search --onlyvisible --classname wakebell.exe 2>/dev/null)" ]; }
wait_for 5 no_program_window || fail "a window of the program is left"
echo "終了 ended the program cleanly"
echo "PASS"
