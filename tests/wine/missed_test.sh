#!/usr/bin/env bash
# Smoke test of the catch-up in the real Wakebell.exe under Wine: the program is stopped
# (SIGSTOP) shortly before a bell and continued four minutes later. The bell did not ring then
# and is too old to ring now: the notice "Wakebell（鳴らなかったアラーム）" lists it and no alarm
# window comes. The wake timer was set (Wine accepts it and says it ignores the resume flag:
# the history records that once), and the resume notice posted twice reports nothing twice.
# Usage: missed_test.sh <folder of Wakebell.exe>. Screenshots in <folder>/wine-shots/missed_test.
# shellcheck source=tray_common.sh
. "$(dirname "${BASH_SOURCE[0]}")/tray_common.sh"

notice='Wakebell（鳴らなかったアラーム）'
history="$prog/WakebellHistory.txt"
events() { cut -f2 "$history" 2>/dev/null | grep -cx "$1"; }
has_event() { [ "$(events "$1")" -ge 1 ]; }
notice_rows() { wine "$bin/tray_helper.exe" rows "$notice" 2>/dev/null | tr -d '\r'; }
notice_lists() { notice_rows | grep -q "$1"; }
alarm_shown() { [ -n "$(xdotool search --onlyvisible --name '^Wakebell .アラーム.$' 2>/dev/null)" ]; }

# The bell: the start of a minute far enough ahead for the program to start before it.
now=$(date +%s)
bell=$(( (now / 60 + 1) * 60 ))
[ $((bell - now)) -lt 45 ] && bell=$((bell + 60))
wine "$bin/tray_helper.exe" at "$data_win\\Wakebell.dat" once "$(date -d "@$bell" '+%Y/%m/%d %H:%M')" \
  '止めている間のベル' >/dev/null 2>&1 || fail "no data file written"

start_program
wait_for 60 find_icon || fail "no tray icon appeared"
wait_for 20 has_event started || fail "the history does not say the program started"
# The wake timer's call succeeded; Wine ignores its resume flag, which is said once.
wait_for 10 has_event wake-not-possible || fail "the wake timer was not set (no wake-not-possible line)"

# The program's own processes (their command lines name its temporary folder), stopped before
# the bell and continued four minutes later.
pids=$(pgrep -f "$(basename "$work")" | grep -vx "$$")
[ -n "$pids" ] || fail "the program's processes were not found"
sleep $(( bell - $(date +%s) - 15 ))
# shellcheck disable=SC2086
kill -STOP $pids
echo "stopped at $(date +%T), the bell at $(date -d "@$bell" +%T)"
sleep 240
# shellcheck disable=SC2086
kill -CONT $pids

wait_for 30 notice_lists '止めている間のベル' || fail "the notice does not list the bell: $(notice_rows)"
[ "$(notice_rows | grep -c .)" = 1 ] || fail "the notice lists more than the one bell: $(notice_rows)"
alarm_shown && fail "an alarm window rang a bell four minutes late"
[ "$(events missed)" = 1 ] || fail "the history does not hold one missed line"
[ "$(events rang)" = 0 ] || fail "the history says a bell rang"
[ "$(events wake-not-possible)" = 1 ] || fail "wake-not-possible recorded more than once"
shot notice-96dpi >/dev/null

# Both resume notices after one wake: nothing is rung or reported again.
wine "$bin/tray_helper.exe" resume || fail "no power-notice window to post the resume to"
wine "$bin/tray_helper.exe" resume
sleep 3
alarm_shown && fail "the resume rang the bell"
[ "$(notice_rows | grep -c .)" = 1 ] || fail "the resume added rows: $(notice_rows)"
notice_rows | grep -q '×' && fail "the resume counted the bell again: $(notice_rows)"
[ "$(events missed)" = 1 ] || fail "the resume reported the bell again"

wine "$bin/tray_helper.exe" close
wait_for 30 program_ended || fail "the program did not end on a close request"
wait_for 5 has_event ended || fail "the history does not say the program ended"
grep -q '^WatchedUntil=' "$prog/WakebellState.ini" || fail "no state file beside the program"
echo "PASS missed_test"
