#!/usr/bin/env bash
# The longest messages the editor accepts (32,767 characters: one paragraph, short lines, one
# word without a break, kana alone, words wider than the window) each presented in the real
# alarm window within a second, the whole message held (alarm_bench.exe --check), on a display
# and in a Wine prefix of its own.
# Usage: alarm_long_message_test.sh <folder of Wakebell.exe>.
set -u
bin=$(cd "${1:?folder of the built programs}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/env.sh
. "$root/scripts/env.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/wb-long-message.XXXXXX")
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
wine "$bin/alarm_bench.exe" --check | tr -d '\r'
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] && echo "PASS" || echo "FAIL: alarm_bench.exe --check exit $status"
exit "$status"
