# Shared by the alarm smoke tests (alarm_test.sh, alarm_keep_test.sh); sourced, not run, with
# the folder of the built programs as $1 and, set before: alarm_name (the scratch folder's and
# the screenshots' name: <folder>/<alarm_name>-shots), alarm_tone_seconds (the length of the
# program folder's tone.wav) and alarm_tools (tools needed beyond the common ones).
# Gives the test a display, a sound server with a null sink and a Wine prefix of its own, a
# program folder with Wakebell.exe, tone.wav and its settings file, the check/finish counters,
# helpers for OLE dates and CP932 bytes, and helpers that watch the alarm window and the sound
# server (level_after needs parec and count_colour convert: alarm_tools names them). Everything started here is stopped by the EXIT trap.
set -u
bin=$(cd "${1:?folder of the built programs}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
exe="$bin/Wakebell.exe"
# release_test.sh links Wakebell.exe anew while the other Wine tests start: they look at it and
# copy it under a shared lock, which that link holds alone.
program_lock="$bin/Wakebell.exe.lock"
flock -s "$program_lock" test -f "$exe" || { echo "missing $exe"; exit 1; }
for tool in Xvfb pulseaudio pactl sox xdotool import perl iconv ${alarm_tools:-}; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

# shellcheck source=../../scripts/env.sh
. "$root/scripts/env.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/wb-$alarm_name.XXXXXX")
shots="$bin/$alarm_name-shots"
rm -rf "$shots"
mkdir -p "$shots"
xvfb_pid=
pulse_pid=
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() {  # check <description> <command...>
  local what=$1
  shift
  if "$@"; then
    echo "PASS $what"
    passed=$((passed + 1))
  else
    echo "FAIL $what"
    failed=$((failed + 1))
  fi
}
finish() {
  echo "$passed passed, $failed failed"
  # What the program and Wine said, for a failure seen only on a loaded machine.
  [ "$failed" -eq 0 ] || { echo "--- the end of the program's Wine log:"; tail -25 "$work/wine.log" 2>/dev/null; }
  [ "$failed" -eq 0 ]
  exit
}

# A display and a sound server of our own: other programs on this machine neither see our
# windows nor add streams to our sink.
for n in $(seq 140 199); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=$n; break; }
done
export DISPLAY=":${display:?no free display number}"
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

wb_private_sound "$work"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "no sound server"; cat "$work/pulse.log"; exit 1; }
pactl set-default-sink null >/dev/null 2>&1

wb_wine_prefix "${WB_ALARM_PREFIX:-$bin/wineprefix-alarm}"

# The program folder: the program, its sounds, its settings and its data file.
prog="$work/prog"
mkdir -p "$prog"
flock -s "$program_lock" cp "$exe" "$prog/" || { echo "$exe could not be copied"; exit 1; }
sox -n -r 44100 -c 2 -b 16 "$prog/tone.wav" synth "${alarm_tone_seconds:?}" sine 660 vol 0.5
printf '[Wakebell]\r\nSTARTFLG=0\r\n' >"$prog/Wakebell.ini"
win_path() { winepath -w "$1" 2>/dev/null; }
wav_path=$(win_path "$prog/tone.wav")

# OLE date of a moment given in Unix seconds, in local time as Wine sees it.
ole_of() {
  local offset sign
  offset=$(date -d "@$1" +%z)
  sign=${offset:0:1}
  local secs=$(( 10#${offset:1:2} * 3600 + 10#${offset:3:2} * 60 ))
  [ "$sign" = "-" ] && secs=$(( -secs ))
  perl -e "printf '%.10f', ($1 + $secs) / 86400 + 25569"
}
cp932_hex() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -tx1 | tr -d ' \n'; }

# --- helpers over the display and the sound server ---
# A snooze ringing again carries its count before the caption ("スヌーズ1回 - Wakebell (アラーム)").
alarm_window() { xdotool search --onlyvisible --name 'Wakebell .アラーム.$' 2>/dev/null | head -1; }
wait_window() {  # wait_window <seconds>: prints the window id once it is shown
  local end=$(( $(date +%s) + $1 )) w
  while [ "$(date +%s)" -le "$end" ]; do
    w=$(alarm_window)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}
streams() { pactl list short sink-inputs 2>/dev/null | grep -c .; }
wait_streams() {  # wait_streams <present|gone> <seconds>
  local end=$(( $(date +%s) + $2 ))
  while [ "$(date +%s)" -le "$end" ]; do
    if [ "$1" = present ]; then [ "$(streams)" -gt 0 ] && return 0
    else [ "$(streams)" -eq 0 ] && return 0; fi
    sleep 0.2
  done
  return 1
}
# Records the sink for <seconds> and prints the RMS level of the part after <skip> seconds.
level_after() {
  timeout "$1" parec --device=null.monitor --raw --format=s16le --rate=44100 --channels=2 \
    >"$work/rec.raw" 2>/dev/null
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/rec.raw" -n trim "$2" stat 2>&1 |
    awk '/^RMS +amplitude/ {print $3}'
}
louder_than() { perl -e "exit((\$ARGV[0] || 0) > $2 ? 0 : 1)" "$1"; }
# Pixels of a colour (within 4%) in an image.
count_colour() { convert "$1" -alpha off -fuzz 4% -fill white -opaque "$2" -fill black +opaque white \
  -format '%[fx:mean*w*h]' info: 2>/dev/null | cut -d. -f1; }
click_ok() {  # clicks the middle of OK; the window may or may not carry a frame of its own
  local w=$1 WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$w" | grep -E '^(WIDTH|HEIGHT)=')"
  local offX=$(( (WIDTH - 213) / 2 )) offY=$(( HEIGHT - 142 - (WIDTH - 213) / 2 ))
  xdotool mousemove --window "$w" $(( offX + 104 )) $(( offY + 130 )) click 1
}
centred() {  # the window's middle within a few pixels of the screen's (1280 x 800)
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  local dx=$(( X + WIDTH / 2 - 640 )) dy=$(( Y + HEIGHT / 2 - 400 ))
  [ "${dx#-}" -le 16 ] && [ "${dy#-}" -le 16 ]
}
# How long a click may take to be answered: with the other Wine tests starting their servers and
# ringing at the same minute, a busy machine takes seconds.
answer_seconds=15
window_gone() { local end=$(( $(date +%s) + $1 )); while [ "$(date +%s)" -le "$end" ]; do
  [ -z "$(alarm_window)" ] && return 0; sleep 0.2; done; return 1; }
shot() { import -window "$1" "$shots/$2.png" 2>/dev/null; import -window root "$shots/$2-screen.png" 2>/dev/null; }
# shot_painted <window> <name> <back colour>: the shot once the message area shows in the entry's
# back colour; a busy machine paints a window seconds after it appears (answer_seconds at most).
shot_painted() {
  local end=$(( $(date +%s) + answer_seconds ))
  sleep 0.7
  shot "$1" "$2"
  while [ "$(count_colour "$shots/$2.png" "$3")" -le 10000 ] && [ "$(date +%s)" -le "$end" ]; do
    sleep 0.5
    shot "$1" "$2"
  done
}
