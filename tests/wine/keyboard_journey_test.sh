#!/usr/bin/env bash
# A user with the keyboard alone, in the real Wakebell.exe under Wine, in one start of the
# program. After the editor is opened from the tray icon, only keys: the quick-timer list browsed
# with the arrows adds nothing; Alt+T, the hour and minute typed over the selected time, the
# arrow from １回だけ to 毎日, Alt+E and a message, Alt+A adds the entry; Shift+Tab from the list
# reaches ＯＫ, which saves. The alarm rings at its minute, Alt+S snoozes it for a minute, it rings
# again, its caption saying so ("スヌーズ1回"), and Tab, Space dismisses it (the delay list, reached
# by Tab, set to 1分 with Home first). The editor's and the alarm window's access keys are read
# from their window texts: no letter twice in one window.
# The data file is shared with another writer (wakebell-tool here, another PC's program alike):
# an entry the tool adds while the editor is open shows in its list at once and rings two
# minutes after the journey's; one it adds while the editor holds the new entry makes ＯＫ ask
# (Escape, キャンセル, writes nothing; Alt+O, 上書き, keeps the other writer's file as a backup).
# Then a second program (another folder, the same DATAPATH, a Wine prefix of its own as on
# another PC) adds an entry in its editor: both ring it at its minute. With both editors open
# and an entry added in each, the first's ＯＫ saves and the second's asks; キャンセル loses
# nothing.
# Usage: keyboard_journey_test.sh <folder of Wakebell.exe>.
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=tray_common.sh
. "$here/tray_common.sh"
# shellcheck source=editor_common.sh
. "$here/editor_common.sh"

start_with_empty_table_in_editor

rows() { helper rows Wakebell; }
row_count() { rows | grep -c .; }
# no_twice CAPTION: the access keys "(&X)" of the window's controls, each once.
no_twice() {
  local texts twice
  texts=$(helper texts "$1") || fail "no window captioned '$1' to read"
  twice=$(printf '%s\n' "$texts" | grep -o '(&[A-Z0-9])' | sort | uniq -d | tr '\n' ' ')
  [ -z "$twice" ] || fail "'$1' has these access keys twice: $twice"
  printf '%s\n' "$texts" | grep -o '(&[A-Z0-9])' | tr -d '(&)' | sort | tr -d '\n'
}
echo "editor's access keys: $(no_twice Wakebell)"

# 1. The arrows on the closed quick-timer list only browse it.
editor_keys alt+u Down Down
sleep 1
no_message "the arrows on the quick-timer list"
[ "$(row_count)" = 0 ] || fail "browsing the quick-timer list added: $(rows)"

# 2. A daily entry at the next minute that leaves time to type it.
now=$(date +%s)
due=$(( (now / 60 + 1) * 60 ))
[ $(( due - now )) -lt 40 ] && due=$(( due + 60 ))
tool_due=$(( due + 120 ))
tool add "$data_file_win" --kind once --at "$(date -d "@$tool_due" '+%Y/%m/%d %H:%M')" --message "Added by the tool" \
  >/dev/null || fail "wakebell-tool add did not add an entry"
has_rows() { [ "$(row_count)" = "$1" ]; }
wait_for 10 has_rows 1 || fail "the open editor does not show the entry the tool added: $(rows)"
tool history "$prog_win\\WakebellHistory.txt" | grep -q reloaded || fail "no 'reloaded' in the history"
editor_keys alt+t
xdotool type --delay 80 "$(date -d "@$due" +%H)"
xdotool key Tab
xdotool type --delay 80 "$(date -d "@$due" +%M)"
xdotool key --delay 100 Tab Down alt+e
xdotool type --delay 40 "Keyboard only"
xdotool key alt+a
sleep 1
no_message "Alt+A"
[ "$(row_count)" = 2 ] || fail "Alt+A left the list with: $(rows)"
echo "added: $(rows); $(shot editor-added)"
# The tool saves again meanwhile: ＯＫ asks, naming the file.
tool add "$data_file_win" --kind daily --at "2030/01/01 12:00" --message "Saved elsewhere" >/dev/null ||
  fail "the second wakebell-tool add failed"
question_shown() { helper message | grep -qF "Wakebell.dat"; }
# The keys go to the question under the pointer, after a click on its icon.
question_keys() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Wakebell$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$WIDTH" -lt $((CLIENT_WIDTH * dpi / 96)) ] && break
  done
  xdotool mousemove $((X + 20 * dpi / 96)) $((Y + 20 * dpi / 96)) click 1
  sleep 0.3
  xdotool key --delay 150 "$@"
}
saved_messages() { tool dump "$1" | jq -r '.entries[:-1][].Message' | sort | tr '\n' ','; }
xdotool key --delay 150 alt+l shift+Tab shift+Tab shift+Tab Return
wait_for 10 question_shown || fail "ＯＫ over a file saved elsewhere asked nothing ($(shot not-asked))"
echo "asked: $(helper message | tr '\n' ' '); $(shot question)"
question_keys Escape
wait_for 5 message_gone || fail "Escape did not close the question"
editor_open || fail "キャンセル closed the editor"
[ "$(saved_messages "$data_file_win")" = "Added by the tool,Saved elsewhere," ] ||
  fail "キャンセル changed the file: $(saved_messages "$data_file_win")"
editor_keys alt+l shift+Tab shift+Tab shift+Tab Return
wait_for 10 question_shown || fail "the second ＯＫ asked nothing"
question_keys alt+o
wait_for 10 editor_closed || fail "上書き did not save and close ($(shot not-saved))"
[ "$(saved_messages "$data_file_win.bak")" = "Added by the tool,Saved elsewhere," ] ||
  fail "上書き kept no backup of the other writer's file: $(saved_messages "$data_file_win.bak")"
entry=$(tool dump "$data_file_win" | jq -c '.entries[] | select(.Message == "Keyboard only") | {RepeatKind, Message}') ||
  fail "no entry was saved"
[ "$entry" = '{"RepeatKind":3,"Message":"Keyboard only"}' ] || fail "saved: $entry"
echo "saved: $entry, due at $(date -d "@$due" +%T)"

# 3. It rings, is snoozed with Alt+S, rings again and is dismissed with Tab and Space.
# The caption of a snooze ringing again starts with the snooze and its count.
alarm_window() { xdotool search --onlyvisible --name 'Wakebell .アラーム.$' 2>/dev/null | head -1; }
alarm_shown() { [ -n "$(alarm_window)" ]; }
alarm_gone() { ! alarm_shown; }
# The keys go to the window under the pointer: it rests on the alarm's message.
alarm_keys() {
  xdotool mousemove --window "$(alarm_window)" 100 30
  sleep 0.3
  xdotool key --delay 150 "$@"
}
wait_for $(( due - $(date +%s) + 20 )) alarm_shown || fail "the alarm did not ring at $(date -d "@$due" +%T)"
sleep 1
helper texts "Wakebell (アラーム)" | grep -qxF "Keyboard only" || fail "the alarm window does not show the message"
echo "alarm window's access keys: $(no_twice "Wakebell (アラーム)"); $(shot alarm)"
alarm_keys Tab Tab Home alt+s  # from the inert button: OK, the delay list (1分 first)
snoozed=$(date +%s)
wait_for 5 alarm_gone || fail "Alt+S did not snooze the alarm ($(shot not-snoozed))"
wait_for 80 alarm_shown || fail "the snoozed alarm did not ring again"
[ "$(date +%s)" -ge $(( snoozed + 59 )) ] || fail "the snoozed alarm rang before its minute"
sleep 1
again="スヌーズ1回 - Wakebell (アラーム)"
[ "$(xdotool getwindowname "$(alarm_window)")" = "$again" ] ||
  fail "the snooze rang again as '$(xdotool getwindowname "$(alarm_window)")'"
helper texts "$again" | grep -qxF "Keyboard only" || fail "the snooze rang again without its message"
alarm_keys Tab space
wait_for 5 alarm_gone || fail "Tab and Space did not dismiss the alarm ($(shot not-dismissed))"
echo "rang, snoozed, rang again after $(( $(date +%s) - snoozed )) s, dismissed"

# 4. The tool's entry rings at its minute.
wait_for $(( tool_due - $(date +%s) + 20 )) alarm_shown || fail "the tool's entry did not ring at $(date -d "@$tool_due" +%T)"
sleep 1
helper texts "Wakebell (アラーム)" | grep -qxF "Added by the tool" || fail "the alarm window does not show the tool's message"
alarm_keys Tab space
wait_for 5 alarm_gone || fail "Tab and Space did not dismiss the tool's alarm"
echo "the tool's entry rang at $(date -d "@$tool_due" +%T)"

# 5. A second PC: another program folder whose DATAPATH names the same file, in a Wine prefix
# of its own (one running copy per session: a second copy here would end at once). Its editor
# adds an entry at the next minute; the first program rings it, and so does the second.
second_prefix="${WB_SECOND_PREFIX:-$bin/wineprefix-second}"
# Not the runner's prefix of the first program (WB_WINE_PREFIX): that one's server runs on.
(WB_WINE_PREFIX="" wb_wine_prefix "$second_prefix" && wineserver -w) >/dev/null 2>&1
trap 'WINEPREFIX="$second_prefix" wineserver -k >/dev/null 2>&1; cleanup' EXIT
on_second() { WINEPREFIX="$second_prefix" "$@"; }
second="$work/second"
mkdir -p "$second"
cp "$bin/Wakebell.exe" "$second/"
printf '[Wakebell]\r\nDATAPATH=%s\r\n' "$data_file_win" >"$second/Wakebell.ini"
first_tray=$(tray_window)
on_second wine "$second/Wakebell.exe" >"$work/second.log" 2>&1 &
second_tray() { xdotool search --onlyvisible --name "Wine System Tray" 2>/dev/null | grep -vx "$first_tray" | head -1; }
has_second_tray() { [ -n "$(second_tray)" ]; }
wait_for 60 has_second_tray || fail "the second program showed no tray icon"
# Both trays open at the same place: the second one moves down, the first stays where
# find_icon looks.
xdotool windowmove "$(second_tray)" 3 200
tray_window() {
  local w
  for w in $(xdotool search --onlyvisible --name "Wine System Tray" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$Y" -lt 100 ] && { echo "$w"; return 0; }
  done
  return 1
}
find_icon || fail "the first program's icon is gone"
second_x=13
second_y=210
rang_here() { helper texts "Wakebell (アラーム)" | grep -qxF "$1"; }
rang_there() { on_second helper texts "Wakebell (アラーム)" | grep -qxF "$1"; }
# A click on each icon dismisses that program's alarm.
gone_here() { ! rang_here "$dismissed"; }
gone_there() { ! rang_there "$dismissed"; }
dismiss_here() {
  dismissed=$1
  xdotool mousemove "$icon_x" "$icon_y" click 1
  wait_for 10 gone_here
}
dismiss_there() {
  dismissed=$1
  xdotool mousemove "$second_x" "$second_y" click 1
  wait_for 10 gone_there
}
# Started within the tool's minute, the second program rings the tool's entry too.
wait_for 30 has_setting "$second/Wakebell.ini" STARTFLG 0 || fail "the second program's start-up did not finish"
sleep 2
if rang_there "Added by the tool"; then
  dismiss_there "Added by the tool" || fail "the second program's alarm for the tool's entry stays"
fi
second_editor_open() { on_second editor_open; }
open_second_editor() {
  xdotool mousemove "$second_x" "$second_y" click --repeat 2 --delay 80 1
  wait_for 10 on_second editor_or_device_dialog || return 1
  if on_second device_dialog_open; then
    on_second close_device_dialog || return 1
    wait_for 10 second_editor_open || return 1
  fi
  sleep 1
  on_second locate_editor
}
# type_message TEXT: over the message box's whole text.
type_message() {
  click_control $MESSAGE_EDIT
  xdotool key ctrl+End ctrl+shift+Home
  xdotool type --delay 30 "$1"
}
open_second_editor || fail "a double click on the second program's icon opened no editor"
[ $((10#$(date +%S))) -gt 35 ] && sleep $((61 - 10#$(date +%S)))
second_due=$(( ($(date +%s) / 60 + 1) * 60 ))
type_into $HOUR_EDIT "$(date -d "@$second_due" +%-H)"
type_into $MINUTE_EDIT "$(date -d "@$second_due" +%-M)"
type_message "Added on the second PC"
click_control $ADD_BUTTON
click_control $SAVE_AND_CLOSE_BUTTON
wait_for 10 eval '! second_editor_open' || fail "the second program's ＯＫ did not save ($(shot second-not-saved))"
wait_for $(( second_due - $(date +%s) + 20 )) rang_here "Added on the second PC" ||
  fail "the first program did not ring the second's entry at $(date -d "@$second_due" +%T) ($(shot not-rung))"
wait_for 10 rang_there "Added on the second PC" || fail "the second program did not ring its own entry"
dismiss_here "Added on the second PC" || fail "the first program's alarm stays"
dismiss_there "Added on the second PC" || fail "the second program's alarm stays"
echo "the second program's entry rang in both at $(date -d "@$second_due" +%T)"

# 6. Both editors open with an entry added in each; the first saves, the second's ＯＫ asks
# and キャンセル loses nothing: the file has the first's entry, the second's editor its own.
# Late in the day, so that neither asks about a time gone by.
open_second_editor || fail "the second program's editor did not open again"
type_into $HOUR_EDIT 23
type_into $MINUTE_EDIT 59
type_message "Second PC's edit"
click_control $ADD_BUTTON
open_editor || fail "the first program's editor did not open over the second's"
editor_keys alt+t
xdotool type --delay 80 23
xdotool key Tab
xdotool type --delay 80 59
xdotool key alt+e ctrl+End ctrl+shift+Home
xdotool type --delay 40 "First PC's edit"
xdotool key alt+a
sleep 1
editor_keys alt+l shift+Tab shift+Tab shift+Tab Return
wait_for 10 editor_closed || fail "the first program's ＯＫ did not save ($(shot first-not-saved))"
saved_messages "$data_file_win" | grep -qF "First PC's edit" ||
  fail "the first program's ＯＫ did not save its edit: $(saved_messages "$data_file_win")"
on_second locate_editor || fail "the second program's editor is gone"
second_asked() { on_second helper message | grep -qF Wakebell.dat; }
# The first click may only bring the second program's window forward.
for _ in 1 2 3; do
  click_control $SAVE_AND_CLOSE_BUTTON
  wait_for 5 second_asked && break
done
second_asked || fail "the second program's ＯＫ asked nothing ($(shot second-not-asked))"
echo "the second program asks: $(on_second helper message | tr '\n' ' '); $(shot second-question)"
question_keys Escape
wait_for 5 eval '! on_second helper message >/dev/null' || fail "Escape did not close the second's question"
[ "$(saved_messages "$data_file_win")" = "Added by the tool,Added on the second PC,First PC's edit,Keyboard only," ] ||
  fail "the file lost an entry: $(saved_messages "$data_file_win")"
# Its row (the message cut short in the list) and its message in the box.
on_second helper rows Wakebell | grep -q "23:59" && on_second helper texts Wakebell | grep -qxF "Second PC's edit" ||
  fail "the second program's editor lost its edit: $(on_second helper rows Wakebell | tr '\n' ' ')"
echo "キャンセル kept both: the file's entries and the second's edit"
on_second wineserver -k >/dev/null 2>&1

choose "$KEYS_END" program_ended || fail "終了 did not end the program"
wait "$program_pid"
program_pid=
echo "PASS"
