#!/usr/bin/env bash
# The longest messages the editor accepts (32,767 characters: one paragraph, short lines, one
# word without a break, kana alone, words wider than the window) each presented in the real
# alarm window within a second, the whole message held (alarm_bench.exe --check), on a display
# and in a Wine prefix of its own. A message of 600 characters grows the window to at most half
# the work area and shows a scroll bar; Page Down and End from the focused button reach its
# last line (--check through the program's message loop, then at 96 and 144 DPI with the real
# keyboard, with screenshots in alarm-long-message-shots/ beside the programs); one of 217
# characters shows whole in a larger window without a bar.
# Usage: alarm_long_message_test.sh <folder of Wakebell.exe>.
set -u
bin=$(cd "${1:?folder of the built programs}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/env.sh
. "$root/scripts/env.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/wb-long-message.XXXXXX")
shots="$bin/alarm-long-message-shots"
mkdir -p "$shots"
xvfb_pid=
trap 'wineserver -k >/dev/null 2>&1; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
wb_wine_prefix "$bin/wineprefix-bench"
cd "$work"  # the alarms it presents write their history into the current folder

set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
}
set_dpi 96
wine "$bin/alarm_bench.exe" --check | tr -d '\r'
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || echo "FAIL: alarm_bench.exe --check exit $status"

# The real keyboard on the window as a user meets it, at two scales.
for dpi in 96 144; do
  set_dpi "$dpi"
  rm -rf "$work/show" && mkdir -p "$work/show"
  wine "$bin/alarm_bench.exe" --show-long "$(winepath -w "$work/show")" >"$work/show.out" 2>/dev/null &
  show_pid=$!
  for _ in $(seq 300); do [ -f "$work/show/shown" ] && break; sleep 0.1; done
  window=$(xdotool search --onlyvisible --name 'Wakebell .アラーム.$' 2>/dev/null | head -1)
  if [ ! -f "$work/show/shown" ] || [ -z "$window" ]; then
    echo "FAIL: no alarm window with 600 characters at $dpi DPI"
    status=1
  else
    sleep 1
    import -window root "$shots/600-characters-${dpi}dpi-top.png" 2>/dev/null
    xdotool mousemove --window "$window" 20 20
    xdotool key --delay 200 Next Next Next Next Next Next Next Next Next Next End
    sleep 1
    import -window root "$shots/600-characters-${dpi}dpi-end.png" 2>/dev/null
    echo "600 characters at $dpi DPI: $shots/600-characters-${dpi}dpi-top.png, $shots/600-characters-${dpi}dpi-end.png"
  fi
  touch "$work/show/done"
  wait "$show_pid"
  show_status=$?
  tr -d '\r' <"$work/show.out"
  if [ "$show_status" -ne 0 ]; then
    echo "FAIL: the real keyboard did not reach the last line at $dpi DPI"
    status=1
  fi
done
# 217 characters at 96 DPI: a larger window, all of them in view without a bar.
set_dpi 96
rm -rf "$work/show" && mkdir -p "$work/show"
wine "$bin/alarm_bench.exe" --show-long "$(winepath -w "$work/show")" 217 >"$work/show.out" 2>/dev/null &
show_pid=$!
for _ in $(seq 300); do [ -f "$work/show/shown" ] && break; sleep 0.1; done
sleep 1
import -window root "$shots/217-characters-96dpi.png" 2>/dev/null
echo "217 characters at 96 DPI: $shots/217-characters-96dpi.png"
touch "$work/show/done"
wait "$show_pid" || { echo "FAIL: 217 characters not all in view"; status=1; }
tr -d '\r' <"$work/show.out"
[ "$status" -eq 0 ] && echo "PASS"
exit "$status"
