#!/usr/bin/env bash
# Runs the Wine tests side by side: each in a world of its own, so that none sees another's
# windows, sound streams or Wine server.
#
#   isolated.sh prepare <folder>              makes <folder>/template, the Wine prefix the tests
#                                             start from (once; ctest runs it first, as a fixture)
#   isolated.sh run <folder> <test.sh> <bin>  runs one test script with its own X display
#                                             (Xvfb), its own sound server (PulseAudio with a
#                                             null sink) and its own copy of the template prefix
#                                             (hence its own wineserver), and stops all of them
#
# A fresh prefix costs a wineboot of tens of seconds and takes about 700 MB, most of it the
# program files Wine put in system32. A copy therefore shares those files with the template
# as hard links (Wine only reads them) and gets a file of its own for everything else (the
# registry, the .ini files, what a test writes). The template is brought up to date with the
# installed Wine before any copy is made, so that no copy rewrites the shared files.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/env.sh
. "$root/scripts/env.sh"
unset WB_WINE_PREFIX

mode=${1:?usage: isolated.sh prepare|run <folder> [test.sh bin]}
runs=${2:?folder of the template prefix and the test runs}
template="$runs/template"
mkdir -p "$runs"
runs=$(cd "$runs" && pwd)
template="$runs/template"

xvfb_pid=
pulse_pid=
work=
stop_all() {
  [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] && { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
  [ -n "${WB_SECOND_PREFIX:-}" ] && [ -d "$WB_SECOND_PREFIX" ] && WINEPREFIX="$WB_SECOND_PREFIX" wineserver -k >/dev/null 2>&1
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  [ -n "$work" ] && rm -rf "$work"
}
trap stop_all EXIT
trap 'exit 143' TERM INT

# A display and a sound server of our own. Xvfb picks a free display number itself (-displayfd),
# so tests started at the same moment never race for one.
start_display_and_sound() {
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "isolated.sh: Xvfb did not start"; exit 1; }
  export DISPLAY=":$(head -1 "$work/display")"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  wb_private_sound "$work"
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl info >/dev/null 2>&1 || { echo "isolated.sh: no sound server"; cat "$work/pulse.log"; exit 1; }
  pactl set-default-sink null >/dev/null 2>&1
}

# The program files shared with the template; every other file is the copy's own.
shared='.*\.\(dll\|exe\|drv\|sys\|ocx\|acm\|cpl\|tlb\|nls\|ax\|ds\|com\|msstyles\)'
copy_prefix() {  # copy_prefix FROM TO
  cp -a --link "$1" "$2" || return 1
  find "$2" -type f ! -iregex "$shared" -print0 |
    while IFS= read -r -d '' f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f" || exit 1; done
}

case "$mode" in
  prepare)
    # What a test killed on its way left behind: older than any test may run, so not another
    # ctest's in this tree.
    find "$runs" -mindepth 1 -maxdepth 1 \( -name 'run-*' -o -name 'prepare.*' \) -mmin +30 -exec rm -rf {} +
    work=$(mktemp -d "$runs/prepare.XXXXXX")
    start_display_and_sound
    if [ ! -f "$template/.wb-ready" ]; then
      rm -rf "$template"
      wb_wine_prefix "$work/prefix" || exit 1
      [ -f "$WINEPREFIX/.wb-fonts-1" ] || { echo "isolated.sh: the prefix got no fonts"; exit 1; }
      wineserver -w
      mv "$work/prefix" "$template"
      touch "$template/.wb-ready"
    fi
    # Wine updates a prefix made by an older Wine when it first starts there: here, once.
    export WINEPREFIX="$template"
    wine cmd /c exit >/dev/null 2>&1
    wineserver -w
    echo "template prefix: $template"
    ;;
  run)
    test_script=${3:?the test script}
    bin=${4:?folder of the built programs}
    [ -f "$template/.wb-ready" ] || { echo "isolated.sh: no template prefix; run 'isolated.sh prepare $runs'"; exit 1; }
    work=$(mktemp -d "$runs/run-$(basename "$test_script" .sh).XXXXXX")
    start_display_and_sound
    copy_prefix "$template" "$work/prefix" || { echo "isolated.sh: the prefix could not be copied"; exit 1; }
    export WB_WINE_PREFIX="$work/prefix" WINEPREFIX="$work/prefix"
    # A test that plays a second PC (WB_SECOND_PREFIX) gets a second copy, not a wineboot.
    if grep -q WB_SECOND_PREFIX "$test_script"; then
      copy_prefix "$template" "$work/prefix-second" || { echo "isolated.sh: the second prefix could not be copied"; exit 1; }
      export WB_SECOND_PREFIX="$work/prefix-second"
    fi
    echo "display $DISPLAY, sound $PULSE_SERVER, prefix $WINEPREFIX"
    bash "$test_script" "$bin"
    status=$?
    exit "$status"
    ;;
  *)
    echo "usage: isolated.sh prepare|run <folder> [test.sh bin]" >&2
    exit 2
    ;;
esac
