#!/usr/bin/env bash
# Smoke test of a kept alarm window in the real Wakebell.exe under Wine: an entry that blinks
# three times, keeps its window and plays a sound of one second. Once the sound is over and the
# blinks are done, the window is back in front and stays there until OK, which hides it.
# Usage: alarm_keep_test.sh <folder of Wakebell.exe>. Uses its own display, sound server and
# Wine prefix, and stops all of them. Screenshots are left in <folder>/alarm-keep-shots.
# shellcheck disable=SC2034  # read by alarm_common.sh
alarm_name=alarm-keep alarm_tone_seconds=1 alarm_tools=
# shellcheck source=alarm_common.sh
. "$(dirname "${BASH_SOURCE[0]}")/alarm_common.sh"

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
