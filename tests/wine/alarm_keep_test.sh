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
check "OK hides the window" window_gone "$answer_seconds"
finish
