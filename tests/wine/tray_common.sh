# Shared by the monitor's smoke tests (startup_test.sh, tray_test.sh, session_end_test.sh);
# sourced, not run.
# Gives each test its own X display, a Wine prefix of its own, a temporary program folder
# with Wakebell.exe and a data file of three entries, and helpers that poll with timeouts
# and drive the tray icon in Wine's "Wine System Tray" window. Everything started here is
# stopped by the EXIT trap. Usage: source it with the folder of the built programs as $1.
set -u
bin=$(cd "${1:?folder of the built programs}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# release_test.sh links Wakebell.exe anew while the other Wine tests start: they look at it and
# copy it under a shared lock, which that link holds alone.
program_lock="$bin/Wakebell.exe.lock"
for exe in Wakebell.exe tray_helper.exe; do
  flock -s "$program_lock" test -f "$bin/$exe" || { echo "missing $bin/$exe"; exit 1; }
done

# shellcheck source=../../scripts/env.sh
. "$root/scripts/env.sh"

test_name=$(basename "$0" .sh)
work=$(mktemp -d "${TMPDIR:-/tmp}/wb-$test_name.XXXXXX")
shots="$bin/wine-shots/$test_name"
mkdir -p "$shots"
xvfb_pid=
program_pid=

cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  shot failure >/dev/null 2>&1
  # What was on the screen and whether the program still ran: a run on another machine leaves
  # only this output behind.
  if [ -n "$program_pid" ] && ! kill -0 "$program_pid" 2>/dev/null; then
    echo "the program is no longer running; its output:"
    tail -n 20 "$work/program.log" 2>/dev/null
  fi
  local w
  for w in $(xdotool search --onlyvisible --name "." 2>/dev/null); do
    echo "window on screen: '$(xdotool getwindowname "$w" 2>/dev/null)' $(xdotool getwindowgeometry "$w" 2>/dev/null | tr '\n' ' ')"
  done
  exit 1
}

# wait_for SECONDS COMMAND...: runs the command every tenth of a second until it succeeds.
wait_for() {
  local deadline=$(($(date +%s%N) / 1000000 + $1 * 1000))
  shift
  until "$@"; do
    [ $(($(date +%s%N) / 1000000)) -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# A display of our own: clicks on the tray must not land in another test's windows.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"
wait_for 10 xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY does not answer"

wb_wine_prefix "${WB_MONITOR_PREFIX:-$bin/wineprefix-monitor}"
wineserver -k >/dev/null 2>&1  # a tray left from an earlier run would live on another display
wineserver -w >/dev/null 2>&1

prog="$work/program"
data="$work/data"
mkdir -p "$prog" "$data"
flock -s "$program_lock" cp "$bin/Wakebell.exe" "$prog/" || fail "Wakebell.exe could not be copied"
prog_win=$(winepath -w "$prog")
data_win=$(winepath -w "$data")
# The data file sits in its own folder, so the two settings files are two different files.
printf '[Wakebell]\r\nDATAPATH=%s\\Wakebell.dat\r\n' "$data_win" >"$prog/Wakebell.ini"
# Wine now and then ends the first program of a freshly restarted server early: try again.
for _ in 1 2 3; do
  soon=$(wine "$bin/tray_helper.exe" data "$data_win\\Wakebell.dat" 2>/dev/null | tr -d '\r')
  [ -s "$data/Wakebell.dat" ] && [ -n "$soon" ] && break
  sleep 1
done
[ -s "$data/Wakebell.dat" ] || fail "no data file written"
[ -n "$soon" ] || fail "the helper did not say when the first entry rings"

# setting FILE KEY: the value in section [Wakebell], "" when missing.
setting() { tr -d '\r' <"$1" 2>/dev/null | sed -n "s/^$2=//p" | head -1; }
set_setting() { sed -i "s/^$2=.*/$2=$3/" "$1"; }
has_setting() { [ "$(setting "$1" "$2")" = "$3" ]; }

start_program() {
  wine "$prog/Wakebell.exe" >"$work/program.log" 2>&1 &
  program_pid=$!
}
program_running() { kill -0 "$program_pid" 2>/dev/null; }
program_ended() { ! program_running; }

tray_window() { xdotool search --onlyvisible --name "Wine System Tray" 2>/dev/null | head -1; }
# The first icon of the tray window; sets icon_x, icon_y (screen).
find_icon() {
  local win
  win=$(tray_window)
  [ -n "$win" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$win")"
  icon_x=$((X + 10))
  icon_y=$((Y + 10))
}

# Red pixels in the middle of the icon: the pause picture is the bell struck through in red.
# (Only the middle: Wine's tray draws a new icon over the old one, and the old one's red may
# stay in the new one's transparent corners.)
icon_red() {
  import -window root -crop "8x8+$((icon_x - 4))+$((icon_y - 4))" +repage -depth 8 txt:- 2>/dev/null |
    awk -F'[(,)]' 'NR > 1 && $3 + 0 > 170 && $4 + 0 < 90 && $5 + 0 < 90 { n++ } END { print n + 0 }'
}
icon_paused() { [ "$(icon_red)" -ge 6 ]; }
icon_normal() { [ "$(icon_red)" -le 2 ]; }

shot() {
  import -window root "$shots/$1.png" 2>/dev/null
  echo "$shots/$1.png"
}

# A visible window of the program whose top-left corner is where the menu pops up.
menu_open() {
  local w
  for w in $(xdotool search --onlyvisible --classname wakebell.exe 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$X" -ge "$icon_x" ] && [ "$X" -le $((icon_x + 4)) ] && [ "$Y" -ge $((icon_y - 300)) ] && return 0
  done
  return 1
}
menu_closed() { ! menu_open; }

# open_menu: right click on the icon until the menu shows.
open_menu() {
  local attempt
  for attempt in 1 2 3; do
    xdotool mousemove "$icon_x" "$icon_y" click 3
    wait_for 5 menu_open && { sleep 0.3; return 0; }
    xdotool key Escape
  done
  return 1
}

# choose "KEYS" CHECK...: opens the menu, walks it with the keys and presses Return, until the
# check holds (each attempt waits up to 10 seconds for it).
choose() {
  local keys=$1 attempt
  shift
  for attempt in 1 2 3; do
    open_menu || continue
    # shellcheck disable=SC2086
    xdotool key --delay 150 $keys Return
    wait_for 10 "$@" && return 0
    menu_open && xdotool key Escape Escape
  done
  return 1
}

# The keys that reach each item of the tray menu from a freshly opened menu. The items at the
# end are reached from below (Up from no selection takes the last item), so items added in the
# middle, greyed or not, do not move them.
KEYS_EDIT="Down"
KEYS_REGISTER="Down Down Right"
KEYS_REMOVE="Down Down Right Down"
KEYS_PAUSE="Down Down Down"
KEYS_VERSION="Up Up"
KEYS_END="Up"

# hovered_tip: rests the mouse on the icon and prints the tip Wine shows, "" when none shows.
hovered_tip() {
  xdotool mousemove $((icon_x - 3)) "$icon_y"
  sleep 0.1
  xdotool mousemove "$icon_x" "$icon_y"
  local tip attempt
  for attempt in $(seq 20); do
    tip=$(wine "$bin/tray_helper.exe" tip 2>/dev/null | tr -d '\r')
    [ -n "$tip" ] && { echo "$tip"; return 0; }
    sleep 0.2
  done
  return 1
}
tip_is() { [ "$(hovered_tip)" = "$1" ]; }
