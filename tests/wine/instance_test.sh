#!/usr/bin/env bash
# Smoke test of one running copy, the history and the catch-up across restarts in the real
# Wakebell.exe under Wine. Two copies started together in one folder: one process, one tray
# icon, one alarm window at the bell; that ring and its dismissal leave their lines in the
# history. Then the program ends, its state is moved back three hours over a daily bell, and
# the next start shows one notice listing it (at 96 and at 144 DPI, left in screenshots).
# Usage: instance_test.sh <folder of Wakebell.exe>. Screenshots in <folder>/wine-shots/instance_test.
# shellcheck source=tray_common.sh
. "$(dirname "${BASH_SOURCE[0]}")/tray_common.sh"

notice='Wakebell（鳴らなかったアラーム）'
history="$prog/WakebellHistory.txt"
state="$prog/WakebellState.ini"
events() { cut -f2 "$history" 2>/dev/null | grep -cx "$1"; }
has_event() { [ "$(events "$1")" -ge "${2:-1}" ]; }
notice_rows() { wine "$bin/tray_helper.exe" rows "$notice" 2>/dev/null | tr -d '\r'; }
notice_lists() { notice_rows | grep -q "$1"; }
alarm_windows() { xdotool search --onlyvisible --name '^Wakebell .アラーム.$' 2>/dev/null | grep -c .; }
alarm_shown() { [ "$(alarm_windows)" -ge 1 ]; }
alarm_gone() { [ "$(alarm_windows)" = 0 ]; }
monitors() { wine "$bin/tray_helper.exe" monitors 2>/dev/null | tr -d '\r'; }
notice_windows() { xdotool search --onlyvisible --name "^$notice\$" 2>/dev/null | grep -c .; }
set_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
set_dpi 96

now=$(date +%s)
bell=$(( (now / 60 + 1) * 60 ))
[ $((bell - now)) -lt 45 ] && bell=$((bell + 60))
earlier=$((now - 3600))
wine "$bin/tray_helper.exe" at "$data_win\\Wakebell.dat" \
  once "$(date -d "@$bell" '+%Y/%m/%d %H:%M')" '一度だけ鳴る' \
  daily "$(date -d "@$earlier" '+%Y/%m/%d %H:%M')" '一時間前の毎日' >/dev/null 2>&1 || fail "no data file written"

# (e) Two copies at once.
wine "$prog/Wakebell.exe" >"$work/first.log" 2>&1 &
program_pid=$!
wine "$prog/Wakebell.exe" >"$work/second.log" 2>&1 &
second_pid=$!
wait_for 60 find_icon || fail "no tray icon appeared"
wait_for 30 eval '! kill -0 $second_pid 2>/dev/null || ! kill -0 $program_pid 2>/dev/null' ||
  fail "both copies still run"
sleep 3
[ "$(monitors)" = 1 ] || fail "$(monitors) monitor windows run"
has_event started 1 && [ "$(events started)" = 1 ] || fail "the history says $(events started) copies started"
kill -0 "$program_pid" 2>/dev/null || program_pid=$second_pid
shot one-icon >/dev/null

# (c) The bell rings once; a click on the icon dismisses it.
wait_for $((bell - $(date +%s) + 20)) alarm_shown || fail "no alarm window at the bell"
sleep 2
[ "$(alarm_windows)" = 1 ] || fail "$(alarm_windows) alarm windows at the bell"
xdotool mousemove "$icon_x" "$icon_y" click 1
wait_for 10 alarm_gone || fail "a click on the icon did not dismiss the alarm"
wait_for 5 has_event dismissed || fail "the history has no dismissed line"
grep -P '\trang\t.*\t一度だけ鳴る\t' "$history" >/dev/null || fail "the history has no rang line for the bell"
[ "$(events rang)" = 1 ] || fail "the history says the bell rang $(events rang) times"

# (b) Ended, its state moved back three hours: the daily bell of an hour ago was missed.
wine "$bin/tray_helper.exe" close
wait_for 30 program_ended || fail "the program did not end on a close request"
grep -q '^WatchedUntil=' "$state" || fail "no state file"
# Only the watched time moves: what was handled (the once bell that rang) stays handled.
move_state_back() {
  sed -i "s|^WatchedUntil=.*|WatchedUntil=$(date -d "@$(( $(date +%s) - 3 * 3600 ))" '+%Y/%m/%d %H:%M:%S')|" "$state"
}
move_state_back
start_program
wait_for 60 notice_lists '一時間前の毎日' || fail "the notice does not list the daily bell: $(notice_rows)"
sleep 1
[ "$(notice_windows)" = 1 ] || fail "$(notice_windows) notice windows"
[ "$(notice_rows | grep -c .)" = 1 ] || fail "the notice lists more than the daily bell: $(notice_rows)"
alarm_shown && fail "the bell handled before the end rang again"
shot notice-96dpi >/dev/null

# The same notice at 144 DPI (the DPI is read when Wine starts).
wine "$bin/tray_helper.exe" close
wait_for 30 program_ended || fail "the program did not end"
wineserver -w >/dev/null 2>&1
set_dpi 144
move_state_back
sed -i '/^1=/d' "$state"  # the daily bell (slot 1) forgotten again, so there is something to list
start_program
wait_for 60 notice_lists '一時間前の毎日' || fail "no notice at 144 DPI"
sleep 1
alarm_shown && fail "the bell handled before the end rang at 144 DPI"
shot notice-144dpi >/dev/null
wine "$bin/tray_helper.exe" close
wait_for 30 program_ended || fail "the program did not end at 144 DPI"
wineserver -w >/dev/null 2>&1
set_dpi 96
echo "PASS instance_test"
