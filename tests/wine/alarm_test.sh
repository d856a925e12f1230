#!/usr/bin/env bash
# Smoke test of an alarm in the real Wakebell.exe under Wine. A data file holds two entries due
# in the coming minutes: a WAV played endlessly and an MP3 played once. The test checks that the
# alarm window shows each entry's message in its colours with the main-bell banner, that MCI
# plays both files (a stream on the sound server, and for the endless one sound after the end
# of the file), and that a click on OK stops the sound and hides the window. The second alarm is
# snoozed for 1分 first: its window and sound go, and a minute later both are back.
# Usage: alarm_test.sh <folder of Wakebell.exe>. Uses its own display, sound server and Wine
# prefix, and stops all of them. Screenshots are left in <folder>/alarm-shots for a look.
# shellcheck disable=SC2034  # read by alarm_common.sh
alarm_name=alarm alarm_tone_seconds=2 alarm_tools="parec lame convert"
# shellcheck source=alarm_common.sh
. "$(dirname "${BASH_SOURCE[0]}")/alarm_common.sh"
sox -n -r 44100 -c 2 -b 16 "$work/long.wav" synth 8 sine 440 vol 0.5
lame --quiet -b 64 "$work/long.wav" "$prog/tone.mp3"
mp3_path=$(win_path "$prog/tone.mp3")

# The first alarm is due at the start of the next minute that leaves the program time to start;
# the second one a minute later.
now=$(date +%s)
first=$(( (now / 60 + 1) * 60 ))
[ $(( first - now )) -lt 20 ] && first=$(( first + 60 ))
second=$(( first + 60 ))

# Entry fields: time, kind (4 once), message, sound file, endless, fore colour, back colour.
# Everything else as the editor makes an entry: main bell only, no blinking, window kept.
perl - "$prog/Wakebell.dat" \
  "$(ole_of "$first")" "$(cp932_hex '会議の時間です')" "$(cp932_hex "$wav_path")" 1 "$((0x0000C0))" "$((0xE0FFFF))" \
  "$(ole_of "$second")" "$(cp932_hex '資料を持って行く')" "$(cp932_hex "$mp3_path")" 0 "$((0x800000))" "$((0xFFE0E0))" \
  <<'PERL'
use strict;
my $path = shift;
my @entries;
push @entries, [splice(@ARGV, 0, 6)] while @ARGV;
sub str { my $b = pack('H*', shift); pack('v', length $b) . $b }
my $data = pack('l<', scalar @entries) . str(unpack('H*', 'Wakebell 0.9.6'));
for my $e (@entries, undef) {
  my ($time, $msg, $file, $endless, $fore, $back) = $e ? @$e : (0, '', '', 0, 0, 0);
  my $real = defined $e;
  $data .= pack('d<s<s<d<d<s<s<s<', $time, $real ? 4 : 0, 0, 0, 0, 0, 0, 0);
  $data .= str($msg);
  $data .= pack('s<', $real ? 1 : 0) . str($file);
  $data .= pack('s<l<l<s<s<l<l<', $endless, $real ? -1 : 0, $real ? 0xC000C000 - 2**32 : 0, $real ? 1 : 0, 0, $fore, $back);
  $data .= str($real ? unpack('H*', 'Noto Sans CJK JP') : '');
  $data .= pack('s<7', $real ? (16, -1, 0, 0, 0, 0, 0) : (0) x 7);
}
open my $out, '>:raw', $path or die "$path: $!";
print $out $data;
close $out;
PERL

# --- the run ---
(cd "$prog" && exec wine Wakebell.exe >"$work/wine.log" 2>&1) &
disown  # ended by wineserver -k at the end; no job report for that
echo "alarms due at $(date -d "@$first" +%T) and $(date -d "@$second" +%T)"

# First alarm: WAV, endless.
w=$(wait_window $(( first - $(date +%s) + 15 )))
check "first alarm window shown" test -n "$w"
[ -n "$w" ] || { tail -5 "$work/wine.log"; finish; }
shot_painted "$w" first '#FFFFE0'
check "window in the middle of the screen" centred "$w"
check "message area in the entry's back colour" test "$(count_colour "$shots/first.png" '#FFFFE0')" -gt 10000
check "message text in the entry's fore colour" test "$(count_colour "$shots/first.png" '#C00000')" -gt 40
check "main-bell banner and time box white on black" test "$(count_colour "$shots/first.png" '#000000')" -gt 1500
check "WAV plays: a stream on the sound server" wait_streams present 5
# Enter typed just as the window pops up lands on the inert default button.
xdotool key Return
sleep 1
check "Enter on the fresh window presses nothing: the window stays" test -n "$(alarm_window)"
# The endless WAV is started again at each end: on a busy machine there is a moment without a stream.
check "Enter on the fresh window presses nothing: the sound goes on" wait_streams present 5
level=$(level_after 7 3.5)
check "endless WAV plays again after its end (level $level)" louder_than "$level" 0.02
click_ok "$w"
check "OK hides the window" window_gone "$answer_seconds"
check "OK stops the WAV: the stream disappears" wait_streams gone 5

# Second alarm: MP3, once, longer than the wait before OK.
w=$(wait_window $(( second - $(date +%s) + 15 )))
check "second alarm window shown" test -n "$w"
[ -n "$w" ] || finish
shot_painted "$w" second '#E0E0FF'
check "second message area in its own back colour" test "$(count_colour "$shots/second.png" '#E0E0FF')" -gt 10000
check "MP3 plays: a stream on the sound server" wait_streams present 5
level=$(level_after 1.5 0.2)
check "MP3 is heard (level $level)" louder_than "$level" 0.02
# Snooze for a minute: Tab from the inert button goes to OK, then the delay list, then スヌーズ.
xdotool key Tab Tab Home Tab space
snoozed=$(date +%s)
check "スヌーズ hides the second window" window_gone "$answer_seconds"
check "スヌーズ stops the MP3: the stream disappears" wait_streams gone 5
# The same entry rings again a minute after the press, as a main bell with its own look and sound.
w=$(wait_window $(( snoozed + 60 - $(date +%s) + 15 )))
check "the snoozed alarm rings again after 1分" test -n "$w"
[ -n "$w" ] || finish
check "not before its minute" test "$(date +%s)" -ge $(( snoozed + 59 ))
shot_painted "$w" snoozed '#E0E0FF'
check "snoozed alarm in the entry's back colour" test "$(count_colour "$shots/snoozed.png" '#E0E0FF')" -gt 10000
check "snoozed alarm plays the MP3 again" wait_streams present 5
click_ok "$w"
check "OK hides the second window" window_gone "$answer_seconds"
check "OK stops the MP3: the stream disappears" wait_streams gone 5
finish
