#!/usr/bin/env bash
# The release zip as a Windows user gets it. scripts/package, run twice, gives the same bytes
# and writes their sum beside the zip; the zip holds Wakebell-<version>/ with the program, the
# readme in code page 932 with CR LF and the licence. Unzipped into a folder whose path has a
# space and Japanese characters, the program starts from there, writes its settings beside
# itself, and its About box, its version resource, wakebell-tool --version, the readme and the
# zip's name all give the project's version.
# Usage: release_test.sh <folder of Wakebell.exe>.
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=tray_common.sh
. "$here/tray_common.sh"

helper() { wine "$bin/tray_helper.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
build=$(cd "$bin/../.." && pwd)
version=$(cat "$build/version.txt")
[ -n "$version" ] || fail "no version in $build/version.txt"
zip_name="Wakebell-$version-win-x64.zip"

# Twice, each time linking the program anew: the same sources give the same zip. (In the tree
# under test, for time; a release is built in scripts/package's own tree.)
# The link holds the program's lock alone: the other Wine tests copy the program under it.
for run in 1 2; do
  flock "$program_lock" "$root/scripts/package" --build-dir "$build" --out "$work/dist$run" >"$work/package$run.log" 2>&1 ||
    fail "scripts/package (run $run): $(tail -5 "$work/package$run.log")"
  [ -f "$work/dist$run/$zip_name" ] || fail "run $run made no $zip_name: $(ls "$work/dist$run")"
  (cd "$work/dist$run" && sha256sum -c --quiet "$zip_name.sha256") || fail "run $run: the sum beside the zip is wrong"
done
sum1=$(sha256sum <"$work/dist1/$zip_name" | cut -d' ' -f1)
sum2=$(sha256sum <"$work/dist2/$zip_name" | cut -d' ' -f1)
[ "$sum1" = "$sum2" ] || fail "two runs of scripts/package gave different zips: $sum1 and $sum2"
echo "zip: $zip_name sha256 $sum1 (both runs)"

listing=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$work/dist1/$zip_name")
expected=$(printf 'Wakebell-%s/\nWakebell-%s/Wakebell.exe\nWakebell-%s/readme.txt\nWakebell-%s/LICENSE.txt' \
  "$version" "$version" "$version" "$version")
[ "$listing" = "$expected" ] || fail "the zip holds: $(echo $listing)"

# Where a user might unzip it: a space and Japanese characters in the path.
place="$work/山田 太郎/ダウンロード"
mkdir -p "$place"
unzip -q "$work/dist1/$zip_name" -d "$place" || fail "the zip does not unzip"
prog="$place/Wakebell-$version"

# The readme: code page 932 (as Windows reads it) with CR LF and nothing else, the same text
# as its UTF-8 source with the version filled in; the licence with CR LF too.
python3 - "$prog/readme.txt" "$root/packaging/readme.txt" "$version" "$prog/LICENSE.txt" "$root/LICENSE" <<'PY' ||
import sys
readme, source, version, licence, licence_source = sys.argv[1:]
raw = open(readme, "rb").read()
text = raw.decode("cp932")  # strict: a byte sequence code page 932 lacks fails here
assert raw.count(b"\n") == raw.count(b"\r\n") == raw.count(b"\r"), "line ends other than CR LF"
assert raw.endswith(b"\r\n"), "the last line has no CR LF"
expected = open(source, encoding="utf-8").read().replace("@VERSION@", version)
assert text.replace("\r\n", "\n") == expected, "the readme differs from packaging/readme.txt"
assert f"バージョン {version}" in text, "the readme's title names no version"
assert "MIT" in text and "LICENSE.txt" in text, "the readme names no licence"
raw = open(licence, "rb").read()
assert raw.count(b"\n") == raw.count(b"\r\n"), "LICENSE.txt has lines without CR LF"
assert raw.replace(b"\r\n", b"\n") == open(licence_source, "rb").read(), "LICENSE.txt is not LICENSE"
assert raw.startswith(b"MIT License"), "LICENSE.txt is not the MIT licence"
PY
  fail "readme.txt or LICENSE.txt is not as a Windows user must get it"
echo "readme.txt: code page 932, CR LF, $(wc -l <"$prog/readme.txt") lines"

# The version record Explorer shows: fixed numbers major.minor.0.revision, product version text.
resource=$(python3 - "$prog/Wakebell.exe" <<'PY'
import re, struct, sys
exe = open(sys.argv[1], "rb").read()
at = exe.find(struct.pack("<I", 0xFEEF04BD))
ms, ls, pms, pls = struct.unpack("<4I", exe[at + 8:at + 24])
fixed = lambda hi, lo: f"{hi >> 16}.{hi & 0xFFFF}.{lo >> 16}.{lo & 0xFFFF}"
strings = {}
for start in (0, 1):
    for key, value in re.findall(r"(ProductVersion|FileVersion)\x00+([0-9.]+)\x00", exe[start:].decode("utf-16le", "replace")):
        strings[key] = value
print(fixed(ms, ls), fixed(pms, pls), strings.get("FileVersion", "-"), strings.get("ProductVersion", "-"))
PY
)
IFS=. read -r major minor revision <<<"$version"
four="$major.$minor.0.$revision"
[ "$resource" = "$four $four $four $version" ] || fail "version resource '$resource', expected '$four $four $four $version'"
echo "version resource: $resource"

tool_err=$(mktemp)
tool_version=$(wine "$bin/wakebell-tool.exe" --version 2>"$tool_err" | tr -d '\r')
# With a dozen Wine programs starting at once a console program's first start here has been
# seen to print nothing at all; that is Wine's start, not the tool: say so and ask once more.
if [ -z "$tool_version" ]; then
  echo "wakebell-tool --version printed nothing; Wine said: $(tail -c 400 "$tool_err")"
  tool_version=$(wine "$bin/wakebell-tool.exe" --version 2>"$tool_err" | tr -d '\r')
fi
rm -f "$tool_err"
[ "$tool_version" = "wakebell-tool $version" ] || fail "wakebell-tool --version says '$tool_version'"

# The program from that folder: the icon, its settings written beside it, no word of a folder
# it cannot write, and the About box giving the same version.
start_program
wait_for 60 find_icon || fail "no tray icon appeared for $prog/Wakebell.exe"
wait_for 10 has_setting "$prog/Wakebell.ini" STARTFLG 0 || fail "no settings written beside the program in $prog"
if helper message >"$work/message.txt"; then fail "a message box came up: $(cat "$work/message.txt")"; fi

about_window() { xdotool search --onlyvisible --name "Wakebellのﾊﾞｰｼﾞｮﾝ情報" 2>/dev/null | head -1; }
about_shown() { [ -n "$(about_window)" ]; }
choose "$KEYS_VERSION" about_shown || fail "バージョン情報 showed no About box"
texts=$(helper texts "Wakebellのﾊﾞｰｼﾞｮﾝ情報") || fail "the About box's texts cannot be read"
printf '%s\n' "$texts" | grep -qxF "ﾊﾞｰｼﾞｮﾝ $version" || fail "the About box says: $(echo $texts)"
echo "about: ﾊﾞｰｼﾞｮﾝ $version; $(shot about)"

choose "$KEYS_END" program_ended || fail "終了 did not end the program"
[ "$(setting "$prog/Wakebell.ini" STARTFLG)" = 0 ] || fail "STARTFLG left set"
echo "PASS: $zip_name from '$prog'"
