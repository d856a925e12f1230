#!/usr/bin/env bash
# Times the editor over a full table under Wine (editor_bench.exe) and prints the figures.
# Usage: tests/wine/editor_bench.sh <folder of Wakebell.exe>   (e.g. build/win/src/app)
# A benchmark, not a test: it is not run by ctest.
set -euo pipefail
bin=$(cd "${1:?folder of the built programs}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/env.sh"
wb_start_display
wb_start_sound
wb_wine_prefix "${WB_BENCH_PREFIX:-$bin/wineprefix-bench}"
work=$(mktemp -d "${TMPDIR:-/tmp}/wb-editor-bench.XXXXXX")
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
wine "$bin/editor_bench.exe" "$(winepath -w "$work")" | tr -d '\r'
