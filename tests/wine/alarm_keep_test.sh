#!/usr/bin/env bash
# Smoke test of a kept alarm window in the real Wakebell.exe under Wine: an entry that blinks
# three times, keeps its window and plays a sound of one second. Once the sound is over and the
# blinks are done, the window is back in front and stays there until OK, which hides it.
# Usage: alarm_keep_test.sh <folder of Wakebell.exe>. Uses its own display, sound server and
# Wine prefix, and stops all of them. Screenshots are left in <folder>/alarm-keep-shots.
set -u
bin=$(cd "${1:?folder of the built programs}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
exe="$bin/Wakebell.exe"
[ -f "$exe" ] || { echo "missing $exe"; exit 1; }
for tool in Xvfb pulseaudio pactl sox xdotool import perl iconv; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

# shellcheck source=../../scripts/env.sh
. "$root/scripts/env.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/wb-alarm-keep.XXXXXX")
shots="$bin/alarm-keep-shots"
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

export PULSE_RUNTIME_PATH="$work/pulse" PULSE_STATE_PATH="$work/pulse-state"
export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
mkdir -p "$PULSE_RUNTIME_PATH" "$PULSE_STATE_PATH"
pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no \
  --load="module-null-sink sink_name=null" --load="module-native-protocol-unix auth-anonymous=1" \
  >"$work/pulse.log" 2>&1 &
pulse_pid=$!
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "no sound server"; cat "$work/pulse.log"; exit 1; }
pactl set-default-sink null >/dev/null 2>&1

wb_wine_prefix "${WB_ALARM_PREFIX:-$bin/wineprefix-alarm}"

# The program folder: the program, its sounds, its settings and its data file.
prog="$work/prog"
mkdir -p "$prog"
cp "$exe" "$prog/"
sox -n -r 44100 -c 2 -b 16 "$prog/tone.wav" synth 1 sine 660 vol 0.5
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

# One alarm, due at the start of the next minute that leaves the program time to start.
now=$(date +%s)
due=$(( (now / 60 + 1) * 60 ))
[ $(( due - now )) -lt 20 ] && due=$(( due + 60 ))

# A once entry: main bell, three blinks, window kept, the one-second WAV played once.
perl - "$prog/Wakebell.dat" "$(ole_of "$due")" "$(cp932_hex '窓は残る')" "$(cp932_hex "$wav_path")" <<'PERL'
use strict;
my ($path, $time, $msg, $file) = @ARGV;
sub str { my $b = pack('H*', shift); pack('v', length $b) . $b }
my $data = pack('l<', 1) . str(unpack('H*', 'Wakebell 0.9.6'));
for my $real (1, 0) {
  $data .= pack('d<s<s<d<d<s<s<s<', $real ? $time : 0, $real ? 4 : 0, 0, 0, 0, 0, 0, $real ? 1 : 0);
  $data .= str($real ? $msg : '');
  $data .= pack('s<', $real ? 1 : 0) . str($real ? $file : '');
  $data .= pack('s<l<l<s<s<l<l<', 0, $real ? -1 : 0, $real ? 0xC000C000 - 2**32 : 0, $real ? 1 : 0, $real ? 3 : 0,
                $real ? 0x0000C0 : 0, $real ? 0xE0FFFF : 0);
  $data .= str($real ? unpack('H*', 'Noto Sans CJK JP') : '');
  $data .= pack('s<7', $real ? (16, -1, 0, 0, 0, 0, 0) : (0) x 7);
}
open my $out, '>:raw', $path or die "$path: $!";
print $out $data;
close $out;
PERL

# --- helpers over the display and the sound server ---
alarm_window() { xdotool search --onlyvisible --name '^Wakebell .アラーム.$' 2>/dev/null | head -1; }
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
window_gone() { local end=$(( $(date +%s) + $1 )); while [ "$(date +%s)" -le "$end" ]; do
  [ -z "$(alarm_window)" ] && return 0; sleep 0.2; done; return 1; }
shot() { import -window "$1" "$shots/$2.png" 2>/dev/null; import -window root "$shots/$2-screen.png" 2>/dev/null; }

# --- the run ---
(cd "$prog" && exec wine Wakebell.exe >"$work/wine.log" 2>&1) &
disown  # ended by wineserver -k at the end; no job report for that
echo "alarm due at $(date -d "@$due" +%T)"

w=$(wait_window $(( due - $(date +%s) + 15 )))
check "alarm window shown" test -n "$w"
[ -n "$w" ] || { tail -5 "$work/wine.log"; finish; }
shown_at=$(date +%s)
check "the WAV plays" wait_streams present 5
check "the WAV ends after its second" wait_streams gone 5
# Three blinks take six seconds; the window is then back and stays.
sleep $(( shown_at + 10 - $(date +%s) ))
shot "$w" after-blinks
check "kept window shown after the blinks" test -n "$(alarm_window)"
sleep 5
check "kept window still shown 15 s after it rang" test -n "$(alarm_window)"
w=$(alarm_window)
[ -n "$w" ] && click_ok "$w"
check "OK hides the window" window_gone 5
finish
