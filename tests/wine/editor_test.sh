#!/usr/bin/env bash
# The editor of the real Wakebell.exe under Wine, driven as a user drives it: from an empty data
# file, a double click on the tray icon opens it; an entry typed into the time boxes a minute
# ahead is added and saved by ＯＫ (the data file holds it) and rings at its minute; a quick timer
# from the list adds a row; two rows selected with shift+click are deleted; closing with unsaved
# changes asks first, and Cancel keeps the editor and its edits while OK closes it and leaves the
# data file as the last ＯＫ wrote it; the next opening shows the file's entries again. Last, a
# file of four entries of different kinds is shown in both views (一覧, デイリー) at 96 and at
# 144 DPI, each row its line as wakebell-tool lists it and then its entry's message, and the
# editor left in screenshots (<folder>/wine-shots/editor_test) for a person to look at. At 144
# DPI the editor is larger than the 1280 x 800 screen: it stays inside the screen's work area,
# and Shift+Tab from the list to ＯＫ scrolls ＯＫ into view.
# Usage: editor_test.sh <folder of Wakebell.exe>.
# shellcheck disable=SC2086  # the control places below are split into their four numbers
here=$(dirname "${BASH_SOURCE[0]}")
# A Wine prefix of its own: the second half of the test sets its DPI to 144.
# shellcheck disable=SC2034  # read by tray_common.sh
WB_MONITOR_PREFIX=${WB_EDITOR_PREFIX:-$(cd "${1:?folder of the built programs}" && pwd)/wineprefix-editor}
# shellcheck source=tray_common.sh
. "$here/tray_common.sh"

# shellcheck source=editor_common.sh
. "$here/editor_common.sh"
trap cleanup EXIT

data_file="$data/Wakebell.dat"
data_file_win="$data_win\\Wakebell.dat"

# The prefix may still be at 144 DPI from an earlier run; the DPI is read when Wine starts.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  dpi=$1
}
set_dpi 96

helper empty "$data_file_win" || fail "the helper wrote no empty data file"
[ "$(tool dump "$data_file_win" | jq .count)" = 0 ] || fail "the data file is not empty"

# --- the editor window and its controls ---
# More controls' places, Px(x, y, w, h) at 96 DPI in the client area.
QUICK_TIMER_COMBO="652 32 110 22"  # its closed height comes from the font; 22 for its middle
DELETE_BUTTON="930 28 36 28"
DAILY_VIEW_CHECK="262 8 90 22"

editor_shot() {
  import -window root -crop "$(scaled $CLIENT_WIDTH)x$(scaled $CLIENT_HEIGHT)+$ox+$oy" +repage "$shots/$1.png" 2>/dev/null
  echo "$shots/$1.png"
}
rows() { helper rows Wakebell; }
# The rows without the message each shows after its line, two spaces on (a line has single ones).
lines() { rows | sed 's/  .*$//'; }
# row_count: the number of rows; fails when there is no editor list to read.
row_count() {
  local out
  out=$(rows) || return 1
  printf '%s' "$out" | grep -c .
  return 0  # grep -c answers 1 for no row
}
rows_are() { local n; n=$(row_count) && [ "$n" -eq "$1" ]; }
rows_fewer_than() { local n; n=$(row_count) && [ "$n" -lt "$1" ]; }
alarm_window() { xdotool search --onlyvisible --name '^Wakebell .アラーム.$' 2>/dev/null | head -1; }
alarm_shown() { [ -n "$(alarm_window)" ]; }
alarm_gone() { ! alarm_shown; }
# OLE date of a moment given in Unix seconds, in local time.
ole_of() {
  local offset secs
  offset=$(date -d "@$1" +%z)
  secs=$((10#${offset:1:2} * 3600 + 10#${offset:3:2} * 60))
  [ "${offset:0:1}" = "-" ] && secs=$((-secs))
  perl -e "printf '%.10f', ($1 + $secs) / 86400 + 25569"
}
# The rows wakebell-tool lists for the data file at this moment, in the full or the day view.
tool_rows() { tool list "$data_file_win" --now "$(date '+%Y/%m/%d %H:%M:%S')" "$@" | cut -f2-; }

start_program
wait_for 60 find_icon || fail "no tray icon appeared"
wait_for 10 has_setting "$data/Wakebell.ini" STARTFLG 0 || fail "start-up did not finish"

# 1. A double click on the icon opens the editor, its list empty.
open_editor || fail "a double click on the tray icon opened no editor"
# With a wave device and no device chosen yet, the dialog came first and its choice is kept.
if [ -n "${device_dialog_seen:-}" ]; then
  [ -n "$(setting "$prog/Wakebell.ini" WAVENM)" ] || fail "the device dialog wrote no WAVENM beside the program"
  [ -n "$(setting "$data/Wakebell.ini" WAVENM)" ] || fail "the device dialog wrote no WAVENM beside the data file"
  echo "device dialog: $shots/device-dialog.png, WAVENM=$(setting "$prog/Wakebell.ini" WAVENM)"
fi
editor_x_window() {
  local w
  for w in $(xdotool search --onlyvisible --classname wakebell.exe 2>/dev/null); do
    [ "$(xdotool getwindowname "$w")" = "Wakebell" ] && return 0
  done
  return 1
}
editor_x_window || fail "the editor is not a visible window of wakebell.exe captioned Wakebell"
rows_are 0 || fail "the list of an empty data file shows: $(rows)"
echo "editor (empty): $(editor_shot editor-empty)"

# 2. An entry one minute ahead, typed into the time boxes, added and saved with ＯＫ. Enough of
# the minute must be left to type it.
[ $((10#$(date +%S))) -gt 40 ] && sleep $((61 - 10#$(date +%S)))
due=$(((($(date +%s) / 60) + 1) * 60))
# Past midnight it would be tomorrow's entry, and the calendar shows today: wait for the new day.
if [ "$(date -d "@$due" +%F)" != "$(date +%F)" ]; then
  sleep $((due - $(date +%s) + 1))
  due=$(((($(date +%s) / 60) + 1) * 60))
fi
due_hour=$(date -d "@$due" +%-H)
due_minute=$(date -d "@$due" +%-M)
due_row="$(date -d "@$due" '+%H:%M %Y/%m/%d') 一回 "
message="Editor smoke test"
type_into $HOUR_EDIT "$due_hour"
no_message "hour $due_hour typed"
type_into $MINUTE_EDIT "$due_minute"
no_message "minute $due_minute typed"
click_control $MESSAGE_EDIT
xdotool key ctrl+End ctrl+shift+Home
xdotool type --delay 30 "$message"
click_control $ADD_BUTTON
no_message "アラーム追加 pressed"
wait_for 5 rows_are 1 || fail "アラーム追加 left the list with: $(rows)"
rows | grep -q "^■$due_row" || fail "the added row '$(rows)' is not a once entry at ${due_row% 一回 } still to ring"
echo "added: $(rows)"
click_control $SAVE_AND_CLOSE_BUTTON
wait_for 10 editor_closed || fail "ＯＫ did not close the editor"
dump=$(tool dump "$data_file_win") || fail "wakebell-tool cannot read the saved data file"
# The weekday box of the day is ticked: Monday is bit 0 ... Sunday bit 6.
day_bit=$((1 << ($(date -d "@$due" +%u) - 1)))
echo "$dump" | jq -e --argjson at "$(ole_of "$due")" --arg msg "$message" --argjson bit "$day_bit" '
  .count == 1 and .entries[0].RepeatKind == 4 and .entries[0].Message == $msg and
  .entries[0].WeekdayMask == $bit and .entries[0].MainBellFiredAt == 0 and
  ((.entries[0].AlarmTime - $at) | . < 1e-5 and . > -1e-5)' >/dev/null ||
  fail "the saved data file is not the one entry at $(date -d "@$due" +%T) with its message: $dump"
echo "saved: one once entry at $(date -d "@$due" +%R), message '$message'"

# It rings at its minute.
wait_for $((due - $(date +%s) + 20)) alarm_shown || fail "no alarm window at $(date -d "@$due" +%R)"
rang=$(date +%s)
[ "$rang" -ge "$due" ] || fail "the alarm window showed $((due - rang)) s before its minute"
sleep 0.7
echo "alarm at $(date -d "@$rang" +%T): $(shot alarm)"
w=$(alarm_window)
eval "$(xdotool getwindowgeometry --shell "$w" | grep -E '^(WIDTH|HEIGHT)=')"
# OK sits at the bottom of the alarm window's fixed part, centred (see alarm_test.sh).
xdotool mousemove --window "$w" $(((WIDTH - 213) / 2 + 104)) $((HEIGHT - 142 - (WIDTH - 213) / 2 + 130)) click 1
wait_for 5 alarm_gone || fail "OK did not close the alarm window"
# Opening the editor reads the data file again, and the file knows nothing of the ringing (only
# the editor's ＯＫ writes it): opened within the alarm's minute, the entry would ring a second
# time. A user coming back to the editor a little later: the next minute.
sleep $((due + 61 - $(date +%s)))
alarm_gone || fail "the alarm window came back after OK"

# 3. A quick timer from its list adds a row.
cp "$data_file" "$work/saved.dat"
open_editor || fail "the editor did not open again"
wait_for 5 rows_are 1 || fail "the reopened editor lists: $(rows)"
rows | grep -q "^□$due_row" || fail "the rung entry's row '$(rows)' does not say that it has rung"
click_control $QUICK_TIMER_COMBO
# The open list is a window of its own just below the box; its first item is 3分.
combo_x=$((ox + 652 * dpi / 96))
dropped_list() {
  local w
  for w in $(xdotool search --onlyvisible --classname wakebell.exe 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$X" -ge $((combo_x - 4)) ] && [ "$X" -le $((combo_x + 4)) ] && [ "$Y" -gt $((oy + 32 * dpi / 96)) ] &&
      [ "$HEIGHT" -gt 20 ] && { echo "$X $Y"; return 0; }
  done
  return 1
}
wait_for 5 dropped_list >/dev/null || fail "a click on the quick-timer box opened no list"
read -r list_x list_y <<<"$(dropped_list)"
echo "quick-timer list: $(shot quick-timer-list)"
quick_from=$(date +%s)
xdotool mousemove $((list_x + 20)) $((list_y + 8)) click 1
wait_for 5 rows_are 2 || fail "choosing 3分 left the list with: $(rows)"
quick_to=$(date +%s)
quick_row=$(rows | grep "ｸｲｯｸ") || fail "no quick-timer row among: $(rows)"
quick_ok=
for t in $((quick_from + 180)) $((quick_to + 180)); do
  case "$quick_row" in "■$(date -d "@$t" '+%H:%M %Y/%m/%d') ｸｲｯｸ "*) quick_ok=1 ;; esac
done
[ -n "$quick_ok" ] || fail "the quick-timer row '$quick_row' is not 3 minutes from now"
rows | grep -q "^□$due_row" || fail "the quick timer lost the other row: $(rows)"
echo "quick timer: $(rows | tr '\n' '|')"
echo "editor (quick timer): $(editor_shot editor-quick-timer)"

# 4. The first row clicked, the second shift+clicked, and the delete button: no row left.
first=$(helper row Wakebell 0) || fail "no first row to click"
second=$(helper row Wakebell 1) || fail "no second row to click"
xdotool mousemove ${first% *} ${first#* } click 1
sleep 0.3
xdotool mousemove ${second% *} ${second#* } keydown shift click 1 keyup shift
sleep 0.3
click_control $DELETE_BUTTON
wait_for 5 rows_are 0 || fail "the delete button left: $(rows)"
echo "deleted: both rows"

# 5. Closing with those unsaved changes asks; Cancel keeps the editor and its edits.
guard_question() {
  local text
  text=$(helper message) || return 1
  [ "$(printf '%s\n' "$text" | head -1)" = "データ変更されています。" ] &&
    printf '%s\n' "$text" | grep -q "キャンセルしてもよろしいですか？"
}
editor_keys alt+F4
wait_for 5 message_shown || fail "closing the editor with unsaved changes asked nothing"
guard_question || fail "the close guard says '$(helper message | tr '\n' ' ')'"
echo "close guard: $(shot close-guard)"
editor_keys Escape
wait_for 5 message_gone || fail "Escape did not answer the close guard"
sleep 0.5
editor_open || fail "Cancel on the close guard closed the editor"
rows_are 0 || fail "after Cancel the editor lists: $(rows)"
cmp -s "$data_file" "$work/saved.dat" || fail "the data file changed before a save"
echo "close guard cancelled: editor open, no row"
# OK on the same question closes it; the data file is what the last ＯＫ wrote.
editor_keys alt+F4
wait_for 5 message_shown || fail "closing the editor again asked nothing"
guard_question || fail "the close guard says '$(helper message | tr '\n' ' ')'"
editor_keys Return
wait_for 5 editor_closed || fail "OK on the close guard left the editor open"
program_running || fail "the program ended with the editor"
cmp -s "$data_file" "$work/saved.dat" || fail "closing without saving changed the data file"
echo "close guard answered OK: editor closed, data file unchanged"
# The next opening reads the file again; closing without a change asks nothing.
open_editor || fail "the editor did not open a third time"
wait_for 5 rows_are 1 || fail "the editor does not show the file's entry again: $(rows)"
rows | grep -q "^□$due_row" || fail "the file's entry shows as '$(rows)'"
editor_keys alt+F4
wait_for 5 editor_closed || fail "Alt+F4 with nothing changed did not close the editor"
message_gone || fail "closing with nothing changed asked '$(helper message | tr '\n' ' ')'"
echo "reopened with the file's entry, closed without a question"

# 6. Entries of four kinds in both views, at 96 DPI and then at 144.
helper sample "$data_file_win" || fail "the helper wrote no sample data file"
views() {
  local tag=$1 full daily
  open_editor || fail "$tag: the editor did not open"
  wait_for 5 rows_are 4 || fail "$tag: the editor lists $(row_count) rows of 4"
  full=$(tool_rows)
  [ "$(lines)" = "$full" ] || fail "$tag: the 一覧 rows differ from wakebell-tool's list: $(rows)"
  # 薬を飲む, cut to the list's 46 columns: six left after the line and its gap.
  rows | grep -q "^$(tool_rows | grep ' 毎日 ')  薬を…$" || fail "$tag: the daily row shows no message: $(rows)"
  echo "$tag 一覧: $(editor_shot "editor-$tag-all")"
  click_control $DAILY_VIEW_CHECK
  daily=$(tool_rows --daily)
  # The monthly entry is ten days away: the day view shows fewer rows, the daily one among them.
  wait_for 5 rows_fewer_than 4 || fail "$tag: the デイリー box did not change the list"
  [ "$(lines)" = "$daily" ] || fail "$tag: the デイリー rows differ from wakebell-tool's list: $(rows)"
  rows | grep -q " 毎日 " || fail "$tag: the daily entry is missing from the デイリー view"
  sleep 0.3
  echo "$tag デイリー: $(editor_shot "editor-$tag-daily")"
}
views 96dpi

choose "$KEYS_END" program_ended || fail "終了 did not end the program"
wait "$program_pid"
code=$?
program_pid=
[ "$code" -eq 0 ] || fail "Wakebell.exe ended with $code"

# At 144 DPI the editor needs 1464 x 858 pixels, more than the 1280 x 800 screen.
set_dpi 144
start_program
wait_for 60 find_icon || fail "no tray icon appeared at 144 DPI"
wait_for 10 has_setting "$data/Wakebell.ini" STARTFLG 0 || fail "start-up did not finish at 144 DPI"
views 144dpi
# inside A B: rectangle A ("l t r b") lies within rectangle B.
inside() {
  local al at ar ab bl bt br bb
  read -r al at ar ab _ <<<"$1"
  read -r bl bt br bb _ <<<"$2"
  [ "$al" -ge "$bl" ] && [ "$at" -ge "$bt" ] && [ "$ar" -le "$br" ] && [ "$ab" -le "$bb" ]
}
place=$(helper place Wakebell) || fail "no editor to place"
work_area=$(sed -n 1p <<<"$place")
inside "$(sed -n 2p <<<"$place")" "$work_area" || fail "the editor at 144 DPI is not inside the work area: $place"
# Alt+L to the list, then Shift+Tab three times to ＯＫ, the bottom right control: in view.
editor_keys alt+l
sleep 0.3
editor_keys shift+Tab shift+Tab shift+Tab
sleep 0.5
place=$(helper place Wakebell)
[ "$(sed -n 4p <<<"$place" | cut -d' ' -f5-)" = "ＯＫ(&O)" ] || fail "Shift+Tab from the list did not reach ＯＫ at 144 DPI: $place"
inside "$(sed -n 4p <<<"$place")" "$(sed -n 3p <<<"$place")" || fail "ＯＫ is out of view at 144 DPI: $place"
echo "144dpi ＯＫ in view: $(editor_shot editor-144dpi-ok-in-view)"
echo "PASS"
