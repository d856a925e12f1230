#!/usr/bin/env bash
# The look and the sound of an entry in the real Wakebell.exe under Wine, set in the editor as a
# user sets them: red text on yellow ticked in the colour boxes, a message, a bigger bold
# italic font chosen in the font dialog; the sample shows them; プレビュー shows the alarm window
# in them with the main-bell banner and the time of the time boxes, and its OK closes it; with
# 音を鳴らす ticked and a WAV typed, the test button starts a stream on the sound server and a
# second press ends it; an entry added a minute ahead and saved with ＯＫ keeps all of it in the
# data file and rings at its minute in that look, with its sound, until its OK.
# Screenshots are left in <folder>/wine-shots/editor_look_test for a person to look at.
# Usage: editor_look_test.sh <folder of Wakebell.exe>.
# shellcheck disable=SC2086  # the control places below are split into their four numbers
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck disable=SC2034  # read by tray_common.sh
WB_MONITOR_PREFIX=${WB_LOOK_PREFIX:-$(cd "${1:?folder of the built programs}" && pwd)/wineprefix-look}
# shellcheck source=tray_common.sh
. "$here/tray_common.sh"

for t in pulseaudio pactl sox jq; do
  command -v "$t" >/dev/null || fail "missing $t"
done
# shellcheck source=editor_common.sh
. "$here/editor_common.sh"

# A sound server of our own: streams of other programs on this machine must not be counted.
wb_private_sound "$work"
trap 'cleanup; kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null' EXIT
wait_for 10 pactl info >/dev/null 2>&1 || fail "the sound server did not start: $(cat "$work/pulse.log")"

data_file_win="$data_win\\Wakebell.dat"

# The control places are pixels at 96 DPI; the processes started from here on also see our
# sound server, as Wine reads the DPI and the environment when it starts.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1

helper empty "$data_file_win" || fail "the helper wrote no empty data file"
# Thirty seconds of tone: still playing whenever the test stops it.
sox -n -r 22050 -c 1 -b 16 "$prog/tone.wav" synth 30 sine 660 vol 0.5 || fail "sox made no WAV"
wav_win=$(winepath -w "$prog/tone.wav" 2>/dev/null)
# A device chosen already (Wine's wave device over PulseAudio), so the device dialog does not
# come before the editor; editor_test.sh drives that dialog.
printf 'WAVENM=PulseAudio\r\n' >>"$prog/Wakebell.ini"
printf '[Wakebell]\r\nWAVENM=PulseAudio\r\n' >"$data/Wakebell.ini"
# The message comes from the remembered preferences (settings files hold CP932): typing Japanese
# through xdotool now and then drops characters under Xvfb. editor_test.sh types its message.
message="会議の時間です"
printf 'MESSAGE=%s\r\n' "$message" | iconv -f UTF-8 -t CP932 >>"$data/Wakebell.ini"

# --- the editor and its controls ---
# More controls' places, Px(x, y, w, h) at 96 DPI in the client area.
SAMPLE_VIEW="664 104 292 60"
RED_TEXT_CHECK="826 170 31 22"      # textColorChecks[4], 赤
YELLOW_BACK_CHECK="794 196 31 22"   # backColorChecks[3], 黄
FONT_BUTTON="664 224 90 26"
PREVIEW_BUTTON="760 224 90 26"
SOUND_CHECK="664 358 110 20"
SOUND_FILE_EDIT="664 402 216 23"
TEST_PLAY_BUTTON="922 400 34 27"
YELLOW="255,255,156"  # 黄: &H9CFFFF
FONT_DIALOG="フォントの指定"
PREVIEW_CAPTION="Wakebell ■■プレビュー■■"
ALARM_CAPTION="Wakebell (アラーム)"

# crop_shot NAME X Y W H: the part of the screen at X Y (screen pixels), saved as NAME.png.
crop_shot() {
  import -window root -crop "$4x$5+$2+$3" +repage "$shots/$1.png" 2>/dev/null
  echo "$shots/$1.png"
}
editor_shot() { crop_shot "$1" "$ox" "$oy" "$CLIENT_WIDTH" "$CLIENT_HEIGHT"; }
control_shot() { crop_shot "$1" $((ox + $2)) $((oy + $3)) "$4" "$5"; }
one_row() { [ "$(helper rows Wakebell | grep -c .)" -eq 1 ]; }

# looks IMAGE: "yellow red height" - the pixels of the 黄 colour, the red text pixels, and the
# height of the rows holding red text.
looks() {
  convert "$1" -alpha off -depth 8 txt:- 2>/dev/null | awk -F'[:,()]' -v yellow="$YELLOW" '
    NR == 1 { next }
    $4 "," $5 "," $6 == yellow { y++ }
    $4 + 0 > 170 && $5 + 0 < 90 && $6 + 0 < 90 {
      r++
      if (top == "" || $2 < top) top = $2
      if ($2 > bottom) bottom = $2
    }
    END { print y + 0, r + 0, (r ? bottom - top + 1 : 0) }'
}
black_pixels() {
  convert "$1" -alpha off -depth 8 txt:- 2>/dev/null | awk -F'[:,()]' 'NR > 1 && $4 $5 $6 == "000" { n++ } END { print n + 0 }'
}

streams() { pactl list short sink-inputs 2>/dev/null | grep -c .; }
stream_playing() { [ "$(streams)" -gt 0 ]; }
no_stream() { [ "$(streams)" -eq 0 ]; }

# window_named CAPTION: the visible window captioned exactly so.
window_named() {
  xdotool search --onlyvisible --name "^$(printf '%s' "$1" | sed 's/[][\\.*^$()+?{}|]/\\&/g')\$" 2>/dev/null | head -1
}
font_dialog_open() { [ -n "$(window_named "$FONT_DIALOG")" ]; }
font_dialog_closed() { ! font_dialog_open; }
preview_open() { [ -n "$(window_named "$PREVIEW_CAPTION")" ]; }
preview_closed() { ! preview_open; }
alarm_shown() { [ -n "$(window_named "$ALARM_CAPTION")" ]; }
alarm_gone() { ! alarm_shown; }
# alarm_window_shot NAME WINDOW: the alarm window alone, saved as NAME.png.
alarm_window_shot() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$2" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  crop_shot "$1" "$X" "$Y" "$WIDTH" "$HEIGHT"
}
# click_alarm_ok WINDOW: OK sits at the bottom of the alarm window's fixed part, centred (see
# alarm_test.sh).
click_alarm_ok() {
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=')"
  xdotool mousemove --window "$1" $(((WIDTH - 213) / 2 + 104)) $((HEIGHT - 142 - (WIDTH - 213) / 2 + 130)) click 1
}
# check_alarm_look TAG IMAGE: the window in the entry's look - the message area yellow, red text
# of the chosen size, the white-on-black banner and time box.
check_alarm_look() {
  local yellow red height area
  read -r yellow red height <<<"$(looks "$2")"
  area=$(identify -format '%[fx:w*h]' "$2" 2>/dev/null)
  [ "$yellow" -gt $((area / 2)) ] || fail "$1: $yellow of $area pixels in 黄 ($YELLOW)"
  [ "$red" -ge 300 ] || fail "$1: only $red red text pixels"
  [ "$height" -ge 22 ] || fail "$1: the red text is $height pixels high, not the 20-point font"
  [ "$(black_pixels "$2")" -ge 1000 ] || fail "$1: no black banner and time box"
  echo "$1: $yellow pixels in 黄, $red red text pixels $height high"
}
# check_alarm_texts TAG CAPTION TIME: what the window's controls hold.
check_alarm_texts() {
  local texts
  texts=$(helper texts "$2") || fail "$1: no window captioned '$2' to read"
  printf '%s\n' "$texts" | grep -qxF "$message" || fail "$1: the message is not shown: $(echo $texts)"
  printf '%s\n' "$texts" | grep -qxF "■本鈴■" || fail "$1: no main-bell banner: $(echo $texts)"
  printf '%s\n' "$texts" | grep -qxF "$3" || fail "$1: the time box does not say $3: $(echo $texts)"
}

start_program
wait_for 60 find_icon || fail "no tray icon appeared"
wait_for 10 has_setting "$data/Wakebell.ini" STARTFLG 0 || fail "start-up did not finish"
open_editor || fail "a double click on the tray icon opened no editor"
echo "editor: $(editor_shot editor-opened)"

# 1. Red text on yellow under the remembered message, and a font.
click_control $RED_TEXT_CHECK
click_control $YELLOW_BACK_CHECK
sleep 0.5
sample=$(control_shot sample-default-font $SAMPLE_VIEW)
read -r yellow red_before height_before <<<"$(looks "$sample")"
[ "$yellow" -gt $((292 * 60 / 2)) ] || fail "the sample's background is not 黄: $yellow pixels of $YELLOW"
[ "$red_before" -ge 100 ] || fail "the sample shows no red text ($red_before red pixels)"
echo "sample, default font: $sample ($yellow pixels in 黄, $red_before red $height_before high)"

click_control $FONT_BUTTON
wait_for 10 font_dialog_open || fail "フォント opened no font dialog"
sleep 0.5
font_dialog=$(window_named "$FONT_DIALOG")
eval "$(xdotool getwindowgeometry --shell "$font_dialog" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
# Keys go to the window under the pointer: it rests on the dialog. The style list starts at the
# sample's 太字; one down is 太字 斜体. The size box takes 20.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
sleep 0.2
xdotool key --delay 150 alt+y Down alt+s
xdotool type --delay 100 20
sleep 0.5
echo "font dialog: $(crop_shot font-dialog "$X" "$Y" "$WIDTH" "$HEIGHT")"
xdotool key Return
wait_for 10 font_dialog_closed || fail "Enter did not close the font dialog"
sleep 0.5
sample=$(control_shot sample-chosen-font $SAMPLE_VIEW)
read -r yellow red height <<<"$(looks "$sample")"
[ "$yellow" -gt $((292 * 60 / 3)) ] || fail "the sample lost its 黄 background with the new font: $yellow pixels"
[ "$red" -gt $((red_before * 2)) ] && [ "$height" -ge 22 ] ||
  fail "the sample's text is not bigger: $red red pixels $height high (before: $red_before, $height_before high)"
echo "sample, chosen font: $sample ($yellow pixels in 黄, $red red $height high)"
echo "editor with the look: $(editor_shot editor-look)"

# 2. The preview, with the time boxes at 7:05.
type_into $HOUR_EDIT 7
type_into $MINUTE_EDIT 5
no_message "7:05 typed"
click_control $PREVIEW_BUTTON
wait_for 5 preview_open || fail "プレビュー showed no window captioned '$PREVIEW_CAPTION'"
sleep 0.7
preview=$(window_named "$PREVIEW_CAPTION")
image=$(alarm_window_shot preview "$preview")
check_alarm_texts preview "$PREVIEW_CAPTION" "07:05"
check_alarm_look preview "$image"
echo "preview: $image"
click_alarm_ok "$preview"
wait_for 5 preview_closed || fail "OK did not close the preview"
no_stream || fail "the preview plays a sound"

# 3. The sound, tried with the test button.
click_control $SOUND_CHECK
type_into $SOUND_FILE_EDIT "$wav_win"
no_stream || fail "a stream plays before the test button: $(pactl list short sink-inputs)"
click_control $TEST_PLAY_BUTTON
no_message "the test button pressed on $wav_win"
wait_for 5 stream_playing || fail "the test button started no stream"
echo "test play: $(streams) stream(s), $(editor_shot editor-sound)"
click_control $TEST_PLAY_BUTTON
wait_for 5 no_stream || fail "the test button pressed again left the stream playing"
echo "test play stopped"

# 4. An entry one minute ahead, saved, ringing in its look with its sound. Enough of the minute
# must be left to type it; past midnight it would be tomorrow's entry.
[ $((10#$(date +%S))) -gt 40 ] && sleep $((61 - 10#$(date +%S)))
due=$(((($(date +%s) / 60) + 1) * 60))
if [ "$(date -d "@$due" +%F)" != "$(date +%F)" ]; then
  sleep $((due - $(date +%s) + 1))
  due=$(((($(date +%s) / 60) + 1) * 60))
fi
type_into $HOUR_EDIT "$(date -d "@$due" +%-H)"
type_into $MINUTE_EDIT "$(date -d "@$due" +%-M)"
no_message "$(date -d "@$due" +%R) typed"
click_control $ADD_BUTTON
no_message "アラーム追加 pressed"
wait_for 5 one_row || fail "アラーム追加 left the list with: $(helper rows Wakebell)"
click_control $SAVE_AND_CLOSE_BUTTON
wait_for 10 editor_closed || fail "ＯＫ did not close the editor"
dump=$(tool dump "$data_file_win") || fail "wakebell-tool cannot read the saved data file"
echo "$dump" | jq -e --arg msg "$message" --arg wav "$wav_win" '
  .count == 1 and (.entries[0] | .Message == $msg and .ForeColor == 255 and .BackColor == 10289151 and
  .ForeColorIndex == 4 and .BackColorIndex == 3 and .FontSize == 20 and .FontBold != 0 and
  .FontItalic != 0 and .FontUnderline == 0 and .FontStrikethru == 0 and .SoundFlag == 1 and
  .SoundFile == $wav and .EndlessFlag == 0 and .BlinkFlag == 0)' >/dev/null ||
  fail "the saved entry does not keep the look and the sound: $(echo "$dump" | jq -c '.entries[0]')"
echo "saved: $(echo "$dump" | jq -c '.entries[0] | {Message, ForeColor, BackColor, FontName, FontSize, FontBold, FontItalic, SoundFlag, SoundFile}')"

wait_for $((due - $(date +%s) + 20)) alarm_shown || fail "no alarm window at $(date -d "@$due" +%R)"
rang=$(date +%s)
[ "$rang" -ge "$due" ] || fail "the alarm window showed $((due - rang)) s before its minute"
sleep 0.7
alarm=$(window_named "$ALARM_CAPTION")
image=$(alarm_window_shot alarm "$alarm")
check_alarm_texts alarm "$ALARM_CAPTION" "$(date -d "@$due" +%H:%M)"
check_alarm_look alarm "$image"
wait_for 5 stream_playing || fail "the alarm plays no stream"
echo "alarm at $(date -d "@$rang" +%T) with $(streams) stream(s): $image"
click_alarm_ok "$alarm"
wait_for 5 alarm_gone || fail "OK did not close the alarm window"
wait_for 5 no_stream || fail "OK left the alarm's stream playing"
echo "alarm dismissed: window and stream gone"

choose "$KEYS_END" program_ended || fail "終了 did not end the program"
wait "$program_pid"
code=$?
program_pid=
[ "$code" -eq 0 ] || fail "Wakebell.exe ended with $code"
echo "PASS"
