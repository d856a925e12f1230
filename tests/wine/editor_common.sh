# Shared by the editor's smoke tests (editor_test.sh, editor_look_test.sh, editor_names_test.sh,
# keyboard_journey_test.sh); sourced after tray_common.sh, not run. The tools the tests call,
# where the editor's controls sit, and how a user reaches them: the editor opened by a double
# click on the tray icon (past the first-run sound-device dialog), a control clicked in its
# middle, a box's text typed over.
# shellcheck disable=SC2086  # the control places below are split into their four numbers

helper() { wine "$bin/tray_helper.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
tool() { wine "$bin/wakebell-tool.exe" "$@" 2>/dev/null; }
[ -f "$bin/wakebell-tool.exe" ] || fail "missing $bin/wakebell-tool.exe"
dpi=${dpi:-96}  # the display's DPI, by which the places below scale

# The controls' places in the editor, Px(x, y, w, h) at 96 DPI in the client area.
HOUR_EDIT="444 218 34 23"
MINUTE_EDIT="515 218 34 23"
MESSAGE_EDIT="376 484 252 68"
ADD_BUTTON="772 28 112 28"
SAVE_AND_CLOSE_BUTTON="818 530 150 30"
CLIENT_WIDTH=976
CLIENT_HEIGHT=572

editor_open() { helper origin Wakebell >/dev/null; }
editor_closed() { ! editor_open; }
# locate_editor: sets ox, oy, the screen position of the editor's client area.
locate_editor() {
  local at
  at=$(helper origin Wakebell) || return 1
  read -r ox oy <<<"$at"
}
scaled() { echo $(($1 * dpi / 96)); }
# click_control X Y W H: a click in the middle of the control placed there.
click_control() {
  xdotool mousemove $((ox + (2 * $1 + $3) * dpi / 192)) $((oy + (2 * $2 + $4) * dpi / 192)) click 1
  sleep 0.3
}
# type_into X Y W H TEXT: selects the whole text of a one-line box and types over it, in one go
# (the time boxes complain at once about an empty text).
type_into() {
  click_control "$1" "$2" "$3" "$4"
  xdotool key End shift+Home
  xdotool type --delay 60 "$5"
  sleep 0.3
}
# Keys for the editor (or its message box). Without a window manager the X server gives the keys
# to the window under the pointer: the pointer rests on the list's label first.
editor_keys() {
  xdotool mousemove $((ox + 20 * dpi / 96)) $((oy + 20 * dpi / 96))
  sleep 0.2
  xdotool key "$@"
}
# The sound-device dialog comes before the editor the first time, when the machine has a device
# to choose (PulseAudio gives Wine wave devices); its OK sits at Px(276, 124, 90, 28).
DEVICE_DIALOG="サウンドデバイスの選択"
device_dialog_open() { helper origin "$DEVICE_DIALOG" >/dev/null; }
editor_or_device_dialog() { editor_open || device_dialog_open; }
close_device_dialog() {
  local at dx dy
  at=$(helper origin "$DEVICE_DIALOG") || return 1
  read -r dx dy <<<"$at"
  sleep 0.5
  [ -f "$shots/device-dialog.png" ] ||
    import -window root -crop "$(scaled 380)x$(scaled 162)+$dx+$dy" +repage "$shots/device-dialog.png" 2>/dev/null
  xdotool mousemove $((dx + (2 * 276 + 90) * dpi / 192)) $((dy + (2 * 124 + 28) * dpi / 192)) click 1
}
open_editor() {
  local _
  for _ in 1 2 3; do
    find_icon || sleep 1  # the tray window may have been made again since
    xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 80 1
    wait_for 10 editor_or_device_dialog && break
  done
  if device_dialog_open; then
    close_device_dialog || return 1
    wait_for 10 editor_open || return 1
    device_dialog_seen=1
  fi
  editor_open || return 1
  sleep 1  # let it paint and settle its focus
  locate_editor
}
# An empty table, the program started, its start-up finished and the editor opened from the
# tray: where the keyboard tests begin. Sets data_file_win.
start_with_empty_table_in_editor() {
  data_file_win="$data_win\\Wakebell.dat"
  helper empty "$data_file_win" || fail "the helper wrote no empty data file"
  start_program
  wait_for 60 find_icon || fail "no tray icon appeared"
  wait_for 10 has_setting "$data/Wakebell.ini" STARTFLG 0 || fail "start-up did not finish"
  open_editor || fail "a double click on the tray icon opened no editor"
}
message_shown() { helper message >/dev/null; }
message_gone() { ! message_shown; }
no_message() {
  sleep 0.5
  message_gone || fail "$1: a message box says '$(helper message | tr '\n' ' ')'"
}
