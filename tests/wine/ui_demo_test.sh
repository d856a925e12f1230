#!/usr/bin/env bash
# Runs ui_demo.exe (a sample form with every control kind, through the real Win32 front end)
# under Wine at 96, 144 and 192 DPI. Each run checks itself and prints "N passed, N failed";
# each also leaves a screenshot (ui_demo-<dpi>.png beside the programs) for a person to look
# at: Japanese must render, nothing may be clipped or overlap.
# $1: the folder of the built programs. Leaves nothing running.
set -uo pipefail
bin=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/env.sh"

xvfb=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  export DISPLAY=:${WB_UI_DISPLAY_NUM:-64}
  Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
wb_wine_prefix "$bin/../../wine-ui-demo"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
}
trap cleanup EXIT

failed=0
for dpi in 96 144 192; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1  # the DPI is read when Wine starts
  log="$bin/ui_demo-$dpi.log"
  wine "$bin/ui_demo.exe" --dpi "$dpi" --hold 2500 >"$log" 2>&1 &
  pid=$!
  for _ in $(seq 600); do grep -q '^READY' "$log" 2>/dev/null && break; kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  sleep 0.5
  import -window root "$bin/ui_demo-$dpi.png" 2>/dev/null || echo "no screenshot at $dpi DPI"
  if ! wait "$pid"; then failed=1; fi
  grep -E '^(FAIL|[0-9]+ passed)' "$log" | sed "s/^/[$dpi DPI] /"
  grep -q ' 0 failed' "$log" || failed=1
done
exit $failed
