#!/usr/bin/env bash
# The tray icon and menu of the real Wakebell.exe under Wine: the menu (screenshot), the tip,
# 一時停止 and its resumption (picture and tip), 登録 and 削除 of the Startup shortcut, the
# About box (screenshot), the editor on a double click, and 終了.
# Usage: tray_test.sh <folder of Wakebell.exe>.
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=tray_common.sh
. "$here/tray_common.sh"

prog_ini="$prog/Wakebell.ini"
data_ini="$data/Wakebell.ini"

start_program
wait_for 60 find_icon || fail "no tray icon appeared"
wait_for 10 has_setting "$data_ini" STARTFLG 0 || fail "start-up did not finish"
icon_normal || fail "the icon at $icon_x,$icon_y is not the program's"

# The menu, as the user sees it. (The pointer stays on the icon from here: the tip below is
# reckoned when it first came.)
first_hover=$(date +%s)
open_menu || fail "the tray menu did not open"
echo "menu: $(shot menu)"
xdotool key Escape
wait_for 5 menu_closed || fail "the menu did not close"

# The tip counts down to the first entry, two hours from the data file's minute: the time left
# it shows is the time left to that entry at a moment between the pointer's coming to the icon
# and the tip's reading (the start may take a minute or more on a busy machine).
tip=$(hovered_tip) || fail "no tip shows on the icon"
after=$(date +%s)
soon_at=$(date -d "$soon" +%s)
[ "$soon_at" -ge "$first_hover" ] || soon_at=$((soon_at + 86400))
day=本日
[ "$(date -d "@$soon_at" +%F)" = "$(date -d "@$after" +%F)" ] || day=明日
[[ $tip =~ ^あと(([0-9]+)時間)?(([0-9]+)分)?(([0-9]+)秒)?\ (.*)$ ]] || fail "tip '$tip', expected the time left to $soon"
left=$(( ${BASH_REMATCH[2]:-0} * 3600 + ${BASH_REMATCH[4]:-0} * 60 + ${BASH_REMATCH[6]:-0} ))
[ "$left" -ge $((soon_at - after - 1)) ] && [ "$left" -le $((soon_at - first_hover + 1)) ] &&
  [ "${BASH_REMATCH[7]}" = "$day$soon" ] || fail "tip '$tip', expected the time left to $day$soon"
echo "tip: $tip"

# 一時停止: the pause picture and its tip; the mouse on the icon leaves them alone.
choose "$KEYS_PAUSE" icon_paused || fail "一時停止 did not change the icon"
wait_for 15 tip_is "アラームは停止中です" || fail "paused tip: '$(hovered_tip)'"
echo "paused: $(shot paused)"
icon_paused || fail "the pause picture went away while the mouse rested on it"

# Resumed: the program's icon and the title as the tip.
choose "$KEYS_PAUSE" icon_normal || fail "resuming did not bring the icon back"
wait_for 15 tip_is "Wakebell" || tip_counts_down=1
[ -z "${tip_counts_down:-}" ] || case "$(hovered_tip)" in あと*) ;; *) fail "resumed tip: '$(hovered_tip)'" ;; esac
echo "resumed"

# 登録: a real shortcut in the Startup folder of the prefix, pointing at the program.
startup_dir="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp"
[ -d "$startup_dir" ] || startup_dir=$(find "$WINEPREFIX/drive_c/users" -type d -iname startup -path "*Programs*" | head -1)
[ -n "$startup_dir" ] || fail "no Startup folder in the prefix"
link="$startup_dir/Wakebell.lnk"
rm -f "$link"
link_made() { [ -f "$link" ]; }
choose "$KEYS_REGISTER" link_made || fail "登録 made no shortcut"
exe_win="$prog_win\\Wakebell.exe"
grep -qaF "$exe_win" "$link" || fail "the shortcut does not point at $exe_win"
show=$(od -An -tu4 -j60 -N4 "$link" | tr -d ' ')
[ "$show" = 4 ] || fail "the shortcut's show-window value is $show"
# The two files are written one after the other: on a busy machine the second a moment later.
wait_for 5 has_setting "$prog_ini" STARTMD 1 || fail "STARTMD not 1 beside the program"
wait_for 5 has_setting "$data_ini" STARTMD 1 || fail "STARTMD not 1 beside the data file"
echo "登録: $link -> $exe_win"

# 削除: the shortcut goes, STARTMD 0 in both files.
link_gone() { [ ! -f "$link" ]; }
choose "$KEYS_REMOVE" link_gone || fail "削除 left the shortcut"
wait_for 5 has_setting "$prog_ini" STARTMD 0 || fail "STARTMD not 0 beside the program"
wait_for 5 has_setting "$data_ini" STARTMD 0 || fail "STARTMD not 0 beside the data file"
echo "削除: shortcut removed"

# バージョン情報: the About box, not modal; its OK closes it.
about_window() { xdotool search --onlyvisible --name "Wakebellのﾊﾞｰｼﾞｮﾝ情報" 2>/dev/null | head -1; }
about_shown() { [ -n "$(about_window)" ]; }
about_gone() { ! about_shown; }
choose "$KEYS_VERSION" about_shown || fail "バージョン情報 showed no About box"
sleep 0.5  # let it paint
eval "$(xdotool getwindowgeometry --shell "$(about_window)")"
[ "$WIDTH" -ge 300 ] && [ "$HEIGHT" -ge 200 ] || fail "About box of ${WIDTH}x$HEIGHT"
import -window root -crop "$((WIDTH + 20))x$((HEIGHT + 20))+$((X - 10))+$((Y - 10))" +repage "$shots/about.png"
echo "about: $shots/about.png"
# OK sits at 4080,2640 twips (1410 x 375) in the box: 15 twips to a pixel at 96 DPI.
xdotool mousemove $((X + (4080 + 705) / 15)) $((Y + (2640 + 187) / 15)) click 1
wait_for 10 about_gone || fail "OK did not close the About box"
echo "about box closed by OK"

# A double click opens the editor.
editor_shown() {
  local w
  for w in $(xdotool search --onlyvisible --classname wakebell.exe 2>/dev/null); do
    [ "$(xdotool getwindowname "$w")" = "Wakebell" ] && return 0
  done
  return 1
}
# With a wave device and no device chosen yet, the sound-device dialog comes first; its OK
# (Px 276, 124, 90, 28 of its client area) lets the editor open.
device_dialog() { xdotool search --onlyvisible --name "サウンドデバイスの選択" 2>/dev/null | head -1; }
editor_or_device_dialog() { editor_shown || [ -n "$(device_dialog)" ]; }
xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 80 1
wait_for 10 editor_or_device_dialog || fail "a double click opened no editor"
if [ -n "$(device_dialog)" ]; then
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$(device_dialog)")"
  xdotool mousemove $((X + 276 + 45)) $((Y + 124 + 14)) click 1
fi
wait_for 10 editor_shown || fail "a double click opened no editor"
echo "editor: $(shot editor)"

# 終了 ends the process cleanly with its windows and its icon.
choose "$KEYS_END" program_ended || fail "終了 did not end the program"
wait "$program_pid"
code=$?
program_pid=
[ "$code" -eq 0 ] || fail "Wakebell.exe ended with $code"
icon_gone() { [ -z "$(tray_window)" ] || ! icon_normal; }
wait_for 5 icon_gone || fail "the icon stayed after 終了"
echo "終了: ended"
echo "PASS"
