#!/usr/bin/env bash
# Three alarms due in the same minute in the real Wakebell.exe under Wine: one window, the last
# come in front with "ほかに2件 - " before its caption; each OK brings back the one that waited last
# (each entry has its own back colour, so the screenshot tells which is in front) with one
# fewer in the caption, and after the third OK no alarm window is left. The history holds a
# "rang" and a "dismissed" line for each message, the answers in that order, and no alarm that
# ended by itself. The first entry plays a short WAV, pushed behind by the silent others.
# A second copy of the program, in a Wine prefix at 144 DPI on a display of its own, rings the
# same three at the same minute: its window, half as wide again, shows ほかに2件 too. Wine draws the
# windows' frames itself (no window manager here), so the screenshots show the captions.
# Usage: alarm_crowded_test.sh <folder of Wakebell.exe>. Screenshots are left in
# <folder>/alarm-crowded-shots.
# shellcheck disable=SC2034  # read by alarm_common.sh
alarm_name=alarm-crowded alarm_tone_seconds=2 alarm_tools="convert"
# shellcheck source=alarm_common.sh
. "$(dirname "${BASH_SOURCE[0]}")/alarm_common.sh"
history="$prog/WakebellHistory.txt"

# The prefix's scale and Wine's own frames, read by the program at its start.
look() {  # look <dpi>, in the present WINEPREFIX
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
}
look 96
# The 144 DPI copy: its own prefix (one running copy per session), display and program folder.
second_prefix="${WB_SECOND_PREFIX:-$bin/wineprefix-second}"
(WB_WINE_PREFIX="" wb_wine_prefix "$second_prefix" && look 144) >/dev/null 2>&1
exec 4>"$work/display144"
Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb144_pid=$!
exec 4>&-
trap 'WINEPREFIX="$second_prefix" wineserver -k >/dev/null 2>&1; kill "$xvfb144_pid" 2>/dev/null; cleanup' EXIT
for _ in $(seq 100); do [ -s "$work/display144" ] && break; sleep 0.1; done
display144=":$(head -1 "$work/display144")"

now=$(date +%s)
due=$(( (now / 60 + 1) * 60 ))
[ $(( due - now )) -lt 20 ] && due=$(( due + 60 ))

# Entry fields: message, sound file (empty: silent), back colour (BGR). Everything else as the
# editor makes an entry: once, main bell only, no blinking, window kept.
messages=(一つ目の会議 二つ目の会議 三つ目の会議)
backs=('#FFFFE0' '#E0E0FF' '#E0FFE0')  # as the screen shows them
perl - "$prog/Wakebell.dat" "$(ole_of "$due")" \
  "$(cp932_hex "${messages[0]}")" "$(cp932_hex "$wav_path")" "$((0xE0FFFF))" \
  "$(cp932_hex "${messages[1]}")" '' "$((0xFFE0E0))" \
  "$(cp932_hex "${messages[2]}")" '' "$((0xE0FFE0))" \
  <<'PERL'
use strict;
my ($path, $time) = splice(@ARGV, 0, 2);
my @entries;
push @entries, [splice(@ARGV, 0, 3)] while @ARGV;
sub str { my $b = pack('H*', shift); pack('v', length $b) . $b }
my $data = pack('l<', scalar @entries) . str(unpack('H*', 'Wakebell 0.9.6'));
for my $e (@entries, undef) {
  my ($msg, $file, $back) = $e ? @$e : ('', '', 0);
  my $real = defined $e;
  $data .= pack('d<s<s<d<d<s<s<s<', $real ? $time : 0, $real ? 4 : 0, 0, 0, 0, 0, 0, 0);
  $data .= str($msg);
  $data .= pack('s<', $file ne '' ? 1 : 0) . str($file);
  $data .= pack('s<l<l<s<s<l<l<', 0, $real ? -1 : 0, $real ? 0xC000C000 - 2**32 : 0, $real ? 1 : 0, 0, $real ? 0x000000 : 0, $back);
  $data .= str($real ? unpack('H*', 'Noto Sans CJK JP') : '');
  $data .= pack('s<7', $real ? (16, -1, 0, 0, 0, 0, 0) : (0) x 7);
}
open my $out, '>:raw', $path or die "$path: $!";
print $out $data;
close $out;
PERL

# The caption grows a count of those waiting: the plain pattern of alarm_common.sh ends too soon.
crowded_window() { xdotool search --onlyvisible --name 'Wakebell .アラーム.' 2>/dev/null | head -1; }
last_caption=
wait_caption() {  # wait_caption <caption> <seconds>: prints the window id once it shows that caption
  local end=$(( $(date +%s) + $2 )) w
  while [ "$(date +%s)" -le "$end" ]; do
    w=$(crowded_window)
    if [ -n "$w" ]; then
      last_caption=$(xdotool getwindowname "$w" 2>/dev/null)
      [ "$last_caption" = "$1" ] && { echo "$w"; return 0; }
    fi
    sleep 0.2
  done
  echo "caption seen last: '${last_caption:-no alarm window}'" >&2
  return 1
}
# shellcheck disable=SC2317  # called through check
in_front() { test "$(count_colour "$shots/$1.png" "$2")" -gt 10000; }

cp -r "$prog" "$work/prog144"

(cd "$prog" && exec wine Wakebell.exe >"$work/wine.log" 2>&1) &
disown  # ended by wineserver -k at the end
(cd "$work/prog144" && DISPLAY="$display144" WINEPREFIX="$second_prefix" exec wine Wakebell.exe >"$work/wine144.log" 2>&1) &
disown
echo "three alarms due at $(date -d "@$due" +%T)"

title='Wakebell (アラーム)'
w=$(wait_caption "ほかに2件 - $title" $(( due - $(date +%s) + 20 )))
check "one alarm window with ほかに2件 in its caption" test -n "$w"
[ -n "$w" ] || finish
width() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p'; }
width96=$(width "$w")
check "the two waiting are no windows of their own" test "$(xdotool search --onlyvisible --name 'Wakebell .アラーム.' | wc -l)" -eq 1
shot_painted "$w" waiting-2-96dpi "${backs[2]}"
check "the last come (${messages[2]}) in front" in_front waiting-2-96dpi "${backs[2]}"
click_ok "$w"
w=$(wait_caption "ほかに1件 - $title" "$answer_seconds")
check "after OK: ほかに1件" test -n "$w"
[ -n "$w" ] || finish
shot_painted "$w" waiting-1-96dpi "${backs[1]}"
check "the one that waited last (${messages[1]}) back in front" in_front waiting-1-96dpi "${backs[1]}"
click_ok "$w"
w=$(wait_caption "$title" "$answer_seconds")
check "after the second OK: the plain caption" test -n "$w"
[ -n "$w" ] || finish
shot_painted "$w" waiting-0-96dpi "${backs[0]}"
check "the first (${messages[0]}) back in front" in_front waiting-0-96dpi "${backs[0]}"
click_ok "$w"
check "after the third OK no alarm window" window_gone "$answer_seconds"
sleep 3
check "and none comes back" test -z "$(crowded_window)"
check "no sound left playing" wait_streams gone 5

w=$(DISPLAY="$display144" wait_caption "ほかに2件 - $title" "$answer_seconds")
check "144 DPI: ほかに2件 in the caption" test -n "$w"
if [ -n "$w" ]; then
  DISPLAY="$display144" shot_painted "$w" waiting-2-144dpi "${backs[2]}"
  check "144 DPI: ${messages[2]} in front" in_front waiting-2-144dpi "${backs[2]}"
  width144=$(DISPLAY="$display144" width "$w")
  check "144 DPI: the window ${width144} pixels wide, 1.5 times ${width96}" \
    test $(( width144 * 10 )) -ge $(( width96 * 14 )) -a $(( width144 * 10 )) -le $(( width96 * 16 ))
fi

# The history: a rang and a dismissed line per message, the answers last come first.
rows() { awk -F'\t' -v tag="$1" -v msg="$2" '$2 == tag && $4 == msg' "$history" 2>/dev/null | wc -l; }
for m in "${messages[@]}"; do
  check "history: one rang line for $m" test "$(rows rang "$m")" -eq 1
  check "history: one dismissed line for $m" test "$(rows dismissed "$m")" -eq 1
done
answered=$(awk -F'\t' '$2 == "dismissed" {print $4}' "$history" 2>/dev/null | paste -sd' ')
check "history: answered ${messages[2]}, ${messages[1]}, ${messages[0]} (was: $answered)" \
  test "$answered" = "${messages[2]} ${messages[1]} ${messages[0]}"
check "history: no alarm ended by itself" test "$(cut -f2 "$history" 2>/dev/null | grep -cx ended-by-itself)" -eq 0
echo "screenshots: $shots"
finish
