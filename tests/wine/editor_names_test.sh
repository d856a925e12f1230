#!/usr/bin/env bash
# The editor's calendar and the names of its controls in the real Wakebell.exe under Wine, in
# one start of the program. The calendar's next-month arrow moves its highlighted date, and
# アラーム追加 then puts the entry on that date (wakebell-tool dump of the saved file). Every visible
# button, box, list, calendar, slider and spin button has a window text a screen reader names it
# by, each enabled one but the spin buttons (worked by typing into their box) is a Tab stop, and the
# buttons that show only an icon are named "変更", "削除", "参照" (both) and "試聴" while they
# still show only it. (A text box or a drop-down list holds its value as window text;
# its name goes to the accessibility layer, which Wine does not answer for.)
# Usage: editor_names_test.sh <folder of Wakebell.exe>.
# shellcheck disable=SC2086  # the control places below are split into their four numbers
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=tray_common.sh
. "$here/tray_common.sh"
# shellcheck source=editor_common.sh
. "$here/editor_common.sh"

start_with_empty_table_in_editor

# 1. Names: the icon buttons by theirs, no control a user operates without one or out of the Tab
# order.
stops=$(helper controls Wakebell) || fail "no editor window to read"
free=$(printf '%s\n' "$stops" | grep '^free ' | grep -v ' msctls_updown32 ')
[ -z "$free" ] || fail "the Tab key never reaches these controls: $(echo $free)"
stops=$(printf '%s\n' "$stops" | cut -d' ' -f2-)
icons=$(printf '%s\n' "$stops" | sed -n 's/^icon Button //p' | sort | tr '\n' ' ')
[ "$icons" = "$(printf '%s\n' 変更 削除 参照 参照 試聴 | sort | tr '\n' ' ')" ] ||
  fail "the buttons showing only an icon are named: '$icons'"
nameless=$(printf '%s\n' "$stops" | grep -E '^(icon|text) (Button|ListBox|SysMonthCal32|ScrollBar|msctls_updown32) $')
[ -z "$nameless" ] || fail "these controls have no name: $(echo $nameless)"
named=$(printf '%s\n' "$stops" | grep -E ' (ListBox|SysMonthCal32|ScrollBar) ' | cut -d' ' -f3- | tr '\n' ' ')
[ "$named" = "アラームリスト カレンダー MIDI音量 他の音量 " ] || fail "the list, calendar and sliders are named '$named'"
echo "icon buttons: $icons; list, calendar and sliders: $named; $(printf '%s\n' "$stops" | grep -c ' Button ') named buttons and boxes"

# 2. The next-month arrow sits at the right end of the calendar's title row.
cal=$(helper calendar Wakebell) || fail "no calendar to read"
read -r cx cy cw _ before <<<"$cal"
xdotool mousemove $((cx + cw - 18 * dpi / 96)) $((cy + 14 * dpi / 96)) click 1
sleep 0.5
cal=$(helper calendar Wakebell) || fail "the calendar cannot be read after the arrow"
read -r _ _ _ _ after <<<"$cal"
[ "${after:0:7}" != "${before:0:7}" ] || fail "the next-month arrow left the calendar on $after ($(shot calendar))"
echo "calendar: $before, after the next-month arrow $after: $(shot calendar-next-month)"
click_control $ADD_BUTTON
no_message "アラーム追加 pressed after the month arrow"
click_control $SAVE_AND_CLOSE_BUTTON
wait_for 10 editor_closed || fail "ＯＫ did not close the editor"
day=$(tool dump "$data_file_win" | jq -e '.entries[0].AlarmTime | floor') || fail "no entry was saved"
saved=$(date -u -d "1899-12-30 + $day days" +%Y/%m/%d)
[ "$saved" = "$after" ] || fail "the entry was added on $saved while the calendar highlights $after"
echo "added on the highlighted date: $saved"

choose "$KEYS_END" program_ended || fail "終了 did not end the program"
wait "$program_pid"
program_pid=
echo "PASS"
