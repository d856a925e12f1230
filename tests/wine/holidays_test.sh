#!/usr/bin/env bash
# 祝日は鳴らさない in the real Wakebell.exe under Wine, driven as a user drives it: from an empty
# data file the editor's 平日のみ makes a Monday–Friday entry, its 祝日は鳴らさない box is
# unticked by a click and the entry added and saved with ＯＫ (the data file holds the plain
# mask); then the entry selected again, the box ticked by a click, 変更 and ＯＫ store the choice,
# and `wakebell-tool schedule` over July 2027 rings every weekday but 海の日 (the 19th) and the
# user's own day off in WakebellDaysOff.txt beside the data file (the 21st). Last, a bad line
# in that file is reported in a message when the editor opens. Screenshots of the editor at 96
# and 144 DPI are left in <folder>/wine-shots/holidays_test.
# Usage: holidays_test.sh <folder of Wakebell.exe>.
# shellcheck disable=SC2086  # the control places below are split into their four numbers
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck disable=SC2034  # read by tray_common.sh
WB_MONITOR_PREFIX=${WB_HOLIDAYS_PREFIX:-$(cd "${1:?folder of the built programs}" && pwd)/wineprefix-holidays}
# shellcheck source=tray_common.sh
. "$here/tray_common.sh"
# shellcheck source=editor_common.sh
. "$here/editor_common.sh"
big_xvfb_pid=
trap 'cleanup; [ -n "$big_xvfb_pid" ] && kill "$big_xvfb_pid" 2>/dev/null' EXIT

data_file_win="$data_win\\Wakebell.dat"
days_off_file="$data/WakebellDaysOff.txt"

# More controls' places, Px(x, y, w, h) at 96 DPI in the client area.
WEEKDAYS_ONLY_BUTTON="560 329 72 25"
REST_CHECK="484 386 150 20"
CHANGE_BUTTON="890 28 36 28"

set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  dpi=$1
}
editor_shot() {
  import -window root -crop "$(scaled $CLIENT_WIDTH)x$(scaled $CLIENT_HEIGHT)+$ox+$oy" +repage "$shots/$1.png" 2>/dev/null
  echo "$shots/$1.png"
}
rows() { helper rows Wakebell; }
row_count() {
  local out
  out=$(rows) || return 1
  printf '%s' "$out" | grep -c .
  return 0
}
rows_are() { local n; n=$(row_count) && [ "$n" -eq "$1" ]; }
mask_of_entry() { tool dump "$data_file_win" | jq -r '.entries[0].WeekdayMask'; }
# A question about a past time answers OK: the entry is set all the same.
accept_past_time() {
  sleep 0.5
  if message_shown; then
    case "$(helper message | head -1)" in
      設定時刻が過去*) editor_keys Return; sleep 0.5 ;;
      *) fail "a message box says '$(helper message | tr '\n' ' ')'" ;;
    esac
  fi
}

set_dpi 96
helper empty "$data_file_win" || fail "the helper wrote no empty data file"
# The 15th of this month shows in bold in the editor's calendar (in the screenshots).
printf '# 会社の休み\n2027/07/21 創立記念日\n%s 休日\n' "$(date +%Y/%m/15)" | iconv -f UTF-8 -t CP932 >"$days_off_file"
start_program
wait_for 60 find_icon || fail "no tray icon appeared"
wait_for 10 has_setting "$data/Wakebell.ini" STARTFLG 0 || fail "start-up did not finish"
no_message "start-up with a days-off file of good lines"

# 1. 平日のみ: every week, Monday to Friday, and the box ticked; a click unticks the box.
open_editor || fail "a double click on the tray icon opened no editor"
click_control $WEEKDAYS_ONLY_BUTTON
no_message "平日のみ pressed"
echo "editor after 平日のみ: $(editor_shot holidays-weekdays-only)"
click_control $REST_CHECK
type_into $HOUR_EDIT 23
type_into $MINUTE_EDIT 58
click_control $ADD_BUTTON
accept_past_time
wait_for 5 rows_are 1 || fail "アラーム追加 left the list with: $(rows)"
rows | grep -q "23:58 .* 毎週 －月火水木金－" || fail "the added row '$(rows)' is not a Monday–Friday entry at 23:58"
click_control $SAVE_AND_CLOSE_BUTTON
wait_for 10 editor_closed || fail "ＯＫ did not close the editor"
[ "$(mask_of_entry)" = 31 ] || fail "with the box unticked the mask is $(mask_of_entry), not 31 (月–金)"
echo "saved: Monday–Friday, the box unticked (mask 31)"

# 2. The entry selected again, the box ticked by a click, 変更 and ＯＫ.
sleep 1
open_editor || fail "the editor did not open again"
wait_for 5 rows_are 1 || fail "the reopened editor lists: $(rows)"
first=$(helper row Wakebell 0) || fail "no row to click"
xdotool mousemove ${first% *} ${first#* } click 1
sleep 0.5
click_control $REST_CHECK
echo "editor with the box ticked: $(editor_shot holidays-box-ticked)"
click_control $CHANGE_BUTTON
accept_past_time
click_control $SAVE_AND_CLOSE_BUTTON
wait_for 10 editor_closed || fail "ＯＫ did not close the editor after 変更"
[ "$(mask_of_entry)" = 159 ] || fail "with the box ticked the mask is $(mask_of_entry), not 159 (月–金 and 0x80)"
echo "saved: Monday–Friday resting on days off (mask 159)"

# 3. The schedule of July 2027: 22 weekdays, less 海の日 and the user's own day off.
bells=$(tool schedule "$data_file_win" --from "2027/07/01 00:00:00" --to "2027/07/31 23:59:59" | tr -d '\r') ||
  fail "wakebell-tool schedule failed"
days=$(printf '%s\n' "$bells" | grep -c "23:58:00")
[ "$days" -eq 20 ] || fail "July 2027 rings on $days days, not 20: $bells"
for day in 19 21; do
  printf '%s\n' "$bells" | grep -q "^2027/07/$day " && fail "a bell on 2027/07/$day, a day off: $bells"
done
for day in 16 20 22; do
  printf '%s\n' "$bells" | grep -q "^2027/07/$day 23:58:00" || fail "no bell on 2027/07/$day: $bells"
done
echo "schedule of July 2027: $days bells, none on 07/19 (海の日) or 07/21 (創立記念日)"
tool holidays 2027 "$data_file_win" | tr -d '\r' | grep -qx "2027/07/21 創立記念日" ||
  fail "wakebell-tool holidays does not list the user's day off"

# 4. A bad line in the days-off file is reported when the editor opens, once.
printf '2027/07/21 創立記念日\n2027/13/01 大掃除\n' | iconv -f UTF-8 -t CP932 >"$days_off_file"
xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 80 1
wait_for 10 message_shown || fail "no message about the bad line of the days-off file"
report=$(helper message)
printf '%s\n' "$report" | grep -q "2 行目: 2027/13/01 大掃除" || fail "the message does not quote the bad line: $report"
echo "days-off report: $(printf '%s' "$report" | tr '\n' ' ')"
shot days-off-report >/dev/null
# Keys go to the window under the pointer: the pointer rests on the message box first.
message_window() {
  local w
  for w in $(xdotool search --onlyvisible --classname wakebell.exe 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$(xdotool getwindowname "$w")" = "Wakebell" ] && [ "$WIDTH" -lt 900 ] && { echo "$w"; return 0; }
  done
  return 1
}
box=$(message_window) || fail "the message box is no window of wakebell.exe captioned Wakebell"
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
sleep 0.3
xdotool key Return
wait_for 5 message_gone || fail "Return did not close the message"
wait_for 10 editor_open || fail "the editor did not open after the message"
locate_editor
click_control $SAVE_AND_CLOSE_BUTTON
wait_for 10 editor_closed || fail "ＯＫ did not close the editor"
sleep 1
open_editor || fail "the editor did not open a third time"
no_message "the same bad line on the next opening"
click_control $SAVE_AND_CLOSE_BUTTON
wait_for 10 editor_closed || fail "ＯＫ did not close the editor"

# 5. The editor at 144 DPI: the box and the button in their places, for a person to look at.
# It needs 1464 x 858 pixels there: a screen of a size used at that setting.
choose "$KEYS_END" program_ended || fail "終了 did not end the program"
wait "$program_pid"
program_pid=
exec 3>"$work/big-display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
big_xvfb_pid=$!
exec 3>&-
wait_for 10 test -s "$work/big-display" || fail "the second Xvfb did not start"
export DISPLAY=":$(head -1 "$work/big-display")"
wait_for 10 xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY does not answer"
set_dpi 144
start_program
wait_for 60 find_icon || fail "no tray icon appeared at 144 DPI"
wait_for 10 has_setting "$data/Wakebell.ini" STARTFLG 0 || fail "start-up did not finish at 144 DPI"
open_editor || fail "the editor did not open at 144 DPI"
first=$(helper row Wakebell 0) || fail "no row at 144 DPI"
xdotool mousemove ${first% *} ${first#* } click 1
sleep 0.5
echo "editor at 144 DPI: $(editor_shot holidays-144dpi)"
click_control $SAVE_AND_CLOSE_BUTTON
wait_for 10 editor_closed || fail "ＯＫ did not close the editor at 144 DPI"
set_dpi 96
echo "PASS"
