#!/usr/bin/env bash
# Times presenting an alarm with the longest message under Wine (alarm_bench.exe) and prints
# the figures. Usage: tests/wine/alarm_bench.sh <folder of Wakebell.exe>  (e.g. build/win/src/app)
# A benchmark, not a test: it is not run by ctest (alarm_long_message_test.sh checks the budget).
set -euo pipefail
bin=$(cd "${1:?folder of the built programs}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/env.sh"
wb_start_display
wb_start_sound
wb_wine_prefix "${WB_BENCH_PREFIX:-$bin/wineprefix-bench}"
# The alarms it presents write their history into the current folder: a scratch one.
work=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
cd "$work"
wine "$bin/alarm_bench.exe" | tr -d '\r'
