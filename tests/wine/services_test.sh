#!/usr/bin/env bash
# Runs services_check.exe (the real Win32 services) under Wine: makes an MP3 with lame, writes
# registry values with "reg add", watches the sound server while MCI plays and clicks the tray
# icon when asked. Usage: services_test.sh <folder of Wakebell.exe and services_check.exe>.
# Starts a display and a sound server only when missing, and stops what it started.
set -u
bin=$(cd "${1:?folder of the built programs}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
checker="$bin/services_check.exe"
[ -f "$checker" ] || { echo "missing $checker"; exit 1; }

# shellcheck source=../../scripts/env.sh
. "$root/scripts/env.sh"

xvfb_pid=
started_sound=
work=
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "$started_sound" ] && pactl exit >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$work" ] && rm -rf "$work"
}
trap cleanup EXIT

last_bg=${!:-}
wb_start_display
[ "${!:-}" != "$last_bg" ] && xvfb_pid=$!
pactl info >/dev/null 2>&1 || { wb_start_sound; started_sound=1; }
pactl info >/dev/null 2>&1 || { echo "no PulseAudio server"; exit 1; }
wb_wine_prefix "${WB_SERVICES_PREFIX:-$bin/wineprefix-services}"

work=$(mktemp -d "${TMPDIR:-/tmp}/wb-services.XXXXXX")
sync="$work/sync"
mkdir -p "$sync"

args=(--sync "$(winepath -w "$sync")" --registry)
wine "$checker" --make-wav "$(winepath -w "$work/tone.wav")" >/dev/null 2>&1
if command -v lame >/dev/null && lame --quiet -b 32 "$work/tone.wav" "$work/tone.mp3" 2>/dev/null; then
  args+=(--mp3 "$(winepath -w "$work/tone.mp3")")
else
  echo "note: lame is missing, the MP3 check is skipped"
fi
command -v xdotool >/dev/null && args+=(--tray-click)

# reg_value KEY NAME TYPE DATA: writes a value for the checker to read, until reg.exe reads it
# back (a write now and then went missing while the prefix was still settling).
reg_value() {
  for _ in 1 2 3 4 5; do
    wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1
    wine reg query "$1" /v "$2" 2>/dev/null | grep -q "$3" && return 0
    sleep 0.5
  done
  echo "FAIL registry setup: $1 $2 was not written"
}
reg_value 'HKCU\Software\WakebellCheck' Text REG_SZ '目覚まし C:\Tools'
reg_value 'HKCU\Software\WakebellCheck' Number REG_DWORD 0x12345678
reg_value 'HKLM\Software\WakebellCheck' Path REG_SZ 'C:\windows\system32'

# Clicks the first icon in Wine's own tray window (shown when the desktop has no tray) until
# the checker says the click arrived: the window and its icon may take a moment to appear.
click_tray() {
  local win
  for _ in $(seq 40); do
    [ -f "$sync/tray-clicked.ready" ] && return
    kill -0 "$checker_pid" 2>/dev/null || return
    win=$(xdotool search --name "Wine System Tray" 2>/dev/null | head -1)
    [ -n "$win" ] && xdotool mousemove --window "$win" 8 8 click 1 2>/dev/null
    sleep 0.5
  done
  echo "note: tray window: ${win:-none} $(xdotool getwindowgeometry "${win:-0}" 2>&1 | tr '\n' ' ')"
}

wine "$checker" "${args[@]}" >"$work/out.txt" 2>"$work/err.txt" &
checker_pid=$!
stream_seen=
while kill -0 "$checker_pid" 2>/dev/null; do
  if [ -f "$sync/mci-playing.ready" ] && [ ! -f "$sync/mci-playing.done" ]; then
    pactl list short sink-inputs >"$work/sink-inputs.txt" 2>&1
    [ -s "$work/sink-inputs.txt" ] && stream_seen=1
    touch "$sync/mci-playing.done"
  fi
  if [ -f "$sync/tray-ready.ready" ] && [ ! -f "$sync/tray-ready.done" ]; then
    touch "$sync/tray-ready.done"
    click_tray
  fi
  sleep 0.1
done
wait "$checker_pid"
status=$?

tr -d '\r' <"$work/out.txt" | grep -v '^[0-9]* passed' 
summary=$(tr -d '\r' <"$work/out.txt" | grep '^[0-9]* passed' | tail -1)
passed=$(echo "$summary" | sed -n 's/^\([0-9]*\) passed.*/\1/p')
failed=$(echo "$summary" | sed -n 's/.* \([0-9]*\) failed.*/\1/p')
skipped=$(echo "$summary" | sed -n 's/.* \([0-9]*\) skipped.*/\1/p')
if [ -z "$summary" ]; then
  echo "FAIL the checker ended without a summary (exit $status)"
  cat "$work/err.txt"
  passed=0 failed=1 skipped=0
fi
if [ -n "$stream_seen" ]; then
  echo "PASS sound server: a stream exists while MCI plays"
  passed=$((passed + 1))
else
  echo "FAIL sound server: no stream while MCI plays"
  failed=$((failed + 1))
fi
echo "$passed passed, $failed failed, ${skipped:-0} skipped"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
