"""The release zip of Wakebell, for scripts/package, and the check of its readme for ctest.

  make_zip.py zip ROOT EXE VERSION EPOCH ZIP   writes ZIP and ZIP.sha256, prints the path and sum
  make_zip.py readme ROOT VERSION              checks packaging/readme.txt as the zip would hold it

The readme and the licence go into the zip as the program's own files are kept: code page 932
with CR LF line ends, so メモ帳 on every Windows version shows them. The zip's bytes depend on
nothing but its inputs: fixed entry order, attributes and time.
"""
import hashlib
import os
import sys
import time
import unicodedata
import zipfile


def windows_text(path, version=None):
    """The UTF-8 text at `path` (LF line ends) in code page 932 with CR LF; @VERSION@ filled in."""
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    if "\r" in text:
        sys.exit(f"package: {path} must have LF line ends in the repository")
    if not text.endswith("\n"):
        sys.exit(f"package: {path} must end with a line end")
    if version is not None:
        text = text.replace("@VERSION@", version)
    try:
        raw = text.replace("\n", "\r\n").encode("cp932")
    except UnicodeEncodeError as e:
        sys.exit(f"package: {path}: {text[e.start:e.end]!r} has no code page 932 form")
    # Some characters are only written as a look-alike ("〜" comes back as "～"): what Windows
    # reads back must be what was written.
    back = raw.decode("cp932").replace("\r\n", "\n")
    if back != text:
        changed = sorted({a for a, b in zip(text, back) if a != b})
        sys.exit(f"package: {path}: {changed} do not come back from code page 932 as written")
    return raw


def readme_bytes(root, version):
    readme = windows_text(os.path.join(root, "packaging", "readme.txt"), version)
    # The history must speak of the version being released.
    history = readme.decode("cp932").split("■ 更新履歴", 1)[-1]
    if not any(line.split()[:1] == [version] for line in history.splitlines()):
        sys.exit(f"package: packaging/readme.txt has no 更新履歴 entry for {version}")
    return readme


def make_zip(root, exe, version, epoch, zip_path):
    with open(exe, "rb") as f:
        program = f.read()
    folder = f"Wakebell-{version}/"
    # Explorer shows a zip's times as they are written; the users' clocks are in Japan.
    when = time.gmtime(int(epoch) + 9 * 3600)[:6]
    entries = [
        (folder, None),
        (folder + "Wakebell.exe", program),
        (folder + "readme.txt", readme_bytes(root, version)),
        (folder + "LICENSE.txt", windows_text(os.path.join(root, "LICENSE"))),
    ]
    tmp = zip_path + ".tmp"
    with zipfile.ZipFile(tmp, "w") as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=when)
            info.create_system = 0  # MS-DOS attributes, as Windows' own zip folders write them
            if data is None:
                info.external_attr = 0x10  # a folder
                z.writestr(info, b"")
            else:
                info.external_attr = 0x20  # an ordinary file (archive bit)
                info.compress_type = zipfile.ZIP_DEFLATED
                z.writestr(info, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
    os.replace(tmp, zip_path)
    with open(zip_path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    with open(zip_path + ".sha256", "w", encoding="ascii", newline="\n") as f:
        f.write(f"{digest}  {os.path.basename(zip_path)}\n")
    print(f"{zip_path}\n{digest}")


# Notepad's window as it first opens on a Japanese Windows shows this many half-width columns;
# a longer line runs off its edge, or with word wrap on is broken wherever the edge falls.
README_COLUMNS = 70


def columns(line):
    """Half-width columns of a line as a Japanese fixed-pitch font draws it: two for a full-width
    or ambiguous character (kanji, kana, ■, ○, ×, ～), one for the rest."""
    return sum(2 if unicodedata.east_asian_width(ch) in "WFA" else 1 for ch in line)


def check_readme(root, version):
    raw = readme_bytes(root, version)
    text = raw.decode("cp932")
    assert raw.count(b"\n") == raw.count(b"\r\n") == raw.count(b"\r"), "line ends other than CR LF"
    assert f"バージョン {version}" in text, "the title names no version"
    assert "@VERSION@" not in text
    for section in ("概要", "動作環境", "インストール", "使い方", "アンインストール", "よくある質問",
                    "更新履歴", "ライセンス"):
        assert f"■ {section}\r\n" in text, f"no section {section}"
    for number, line in enumerate(text.split("\r\n"), 1):
        assert columns(line) <= README_COLUMNS, f"line {number} is {columns(line)} columns wide: {line}"
    print(f"packaging/readme.txt: {len(raw)} bytes of code page 932, CR LF, version {version}")


if __name__ == "__main__":
    if len(sys.argv) == 7 and sys.argv[1] == "zip":
        make_zip(*sys.argv[2:])
    elif len(sys.argv) == 4 and sys.argv[1] == "readme":
        check_readme(*sys.argv[2:])
    else:
        sys.exit(__doc__)
