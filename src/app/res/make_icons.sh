#!/usr/bin/env bash
# Draws the program's icons with ImageMagick: each at 256 px, scaled to 48, 32 and 16 px and
# packed into one .ico. The .ico files are committed; run this only to change a picture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bell=(-fill '#F4B400' -stroke '#7A4E00' -strokewidth 10
  -draw "path 'M 36,196 C 62,184 64,160 66,128 C 68,70 98,46 128,46 C 158,46 188,70 190,128 C 192,160 194,184 220,196 Z'"
  -draw "roundrectangle 30,192 226,216 10,10"
  -draw "circle 128,36 128,22"
  -draw "circle 128,226 128,206"
  -stroke none -fill '#FFE27A'
  -draw "path 'M 88,170 C 90,130 92,92 116,72 C 104,100 104,130 104,170 Z'")

draw() {  # name, then drawing arguments
  local name=$1; shift
  convert -size 256x256 xc:none "$@" "$work/$name-256.png"
  for s in 48 32 16; do convert "$work/$name-256.png" -resize ${s}x${s} "$work/$name-$s.png"; done
  convert "$work/$name-16.png" "$work/$name-32.png" "$work/$name-48.png" "$name.ico"
}

draw app "${bell[@]}"
draw stop "${bell[@]}" -stroke white -strokewidth 44 -draw "line 40,40 216,216" \
  -stroke '#D01010' -strokewidth 30 -draw "line 40,40 216,216"
draw open -fill '#E8A317' -stroke '#7A5200' -strokewidth 10 \
  -draw "path 'M 20,60 L 100,60 L 120,84 L 236,84 L 236,216 L 20,216 Z'" \
  -fill '#FFD257' -draw "path 'M 20,216 L 56,118 L 250,118 L 214,216 Z'"
draw check -fill none -stroke '#0B7A20' -strokewidth 44 -draw "stroke-linecap round stroke-linejoin round polyline 36,132 100,196 224,60" \
  -stroke '#2DBE4A' -strokewidth 26 -draw "stroke-linecap round stroke-linejoin round polyline 36,132 100,196 224,60"
draw edit -fill '#F6C343' -stroke '#5A3C00' -strokewidth 10 \
  -draw "path 'M 176,28 L 228,80 L 92,216 L 40,164 Z'" \
  -fill '#F2D2A9' -draw "path 'M 40,164 L 92,216 L 24,232 Z'" \
  -fill '#E06060' -draw "path 'M 176,28 L 228,80 L 208,100 L 156,48 Z'"
draw delete -fill none -stroke '#7A0000' -strokewidth 56 -draw "line 48,48 208,208" -draw "line 208,48 48,208" \
  -stroke '#E02020' -strokewidth 36 -draw "line 48,48 208,208" -draw "line 208,48 48,208"
