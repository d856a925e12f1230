# Sourced by the scripts: starts what running Wakebell.exe under Wine needs on a Linux machine
# (a display, a sound server, a Japanese locale) when the machine lacks it. Safe to source twice.

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No desktop entries from saved shortcuts, no Mono/Gecko installer prompts in a new prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=;mshtml=}"

wb_start_display() {
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    export DISPLAY=:${WB_DISPLAY_NUM:-97}
    if ! xdpyinfo >/dev/null 2>&1; then
      Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
      for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    fi
  fi
}

wb_start_sound() {
  if ! pactl info >/dev/null 2>&1; then
    pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
      --load="module-null-sink sink_name=null" --load=module-native-protocol-unix \
      >/dev/null 2>&1 || true
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}

# A sound server of the caller's own, its files under $1, with a null sink as the default
# output: streams of other programs on this machine are neither heard nor counted. Sets
# pulse_pid; its log is $1/pulse.log. The caller waits for it (pactl info) and stops it.
wb_private_sound() {
  export PULSE_RUNTIME_PATH="$1/pulse" PULSE_STATE_PATH="$1/pulse-state"
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
  mkdir -p "$PULSE_RUNTIME_PATH" "$PULSE_STATE_PATH"
  pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no \
    --load="module-null-sink sink_name=null" --load="module-native-protocol-unix auth-anonymous=1" \
    >"$1/pulse.log" 2>&1 &
  pulse_pid=$!
}

# A private Wine prefix, made once per folder, with the program's Japanese fonts replaced.
# WB_WINE_PREFIX, when set, names the prefix instead: the Wine test runner gives each test a
# copy of one prepared prefix of its own there.
wb_wine_prefix() {
  export WINEPREFIX="${WB_WINE_PREFIX:-$1}"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  if [ ! -f "$WINEPREFIX/.wb-fonts-1" ]; then
    wb_wine_fonts && touch "$WINEPREFIX/.wb-fonts-1"
  fi
}

# The Japanese faces the program and its data files name (MS UI Gothic, MS P Gothic in its
# half-width and full-width spellings, MS Gothic, Meiryo UI) do not exist under Wine; without a
# replacement their Japanese text shows as empty boxes. Map them to the Noto CJK fonts
# (fonts-noto-cjk): proportional faces to Noto Sans CJK JP, fixed-pitch ones to the mono face.
wb_wine_fonts() {
  local sans="Noto Sans CJK JP" mono="Noto Sans Mono CJK JP" reg="$WINEPREFIX/wb-fonts.reg" face
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for face in "MS UI Gothic" "MS Pｺﾞｼｯｸ" "MS Pゴシック" "ＭＳ Ｐゴシック" "MS PGothic" \
                "Meiryo UI" "Meiryo" "メイリオ"; do
      printf '"%s"="%s"\r\n' "$face" "$sans"
    done
    for face in "ＭＳ ゴシック" "MS ゴシック" "MS Gothic" "MS ｺﾞｼｯｸ"; do
      printf '"%s"="%s"\r\n' "$face" "$mono"
    done
  } | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$reg"  # regedit reads UTF-16 with a BOM
  wine reg import "$reg" >/dev/null 2>&1
}
