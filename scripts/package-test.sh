#!/usr/bin/env bash
# Checks the release zip as a user meets it: unpacked (names as stored,
# 使用说明.txt readable by Notepad), into a fresh Wine prefix with a Chinese
# locale: kscgen-gui.exe starts with a folder given as a dropped folder
# arrives and shows it (a picture is taken), and kscgen.exe writes the same
# KSC files for the samples as the Linux kscgen.
#   scripts/package-test.sh ZIP LINUX_KSCGEN
set -uo pipefail
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
linux=$2
work=$(mktemp -d)
PATH=/usr/lib/wine:$PATH
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEARCH=win64 LC_ALL=zh_CN.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
failed=0
fail() {
  echo "package-test: $*"
  failed=1
}

name=$(basename "$zip" .zip)
listing=$(python3 - "$zip" "$work/unpacked" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in z.infolist():
        # Names beyond ASCII must say they are UTF-8, or Windows reads them
        # in its own code page.
        utf8 = "utf8" if i.flag_bits & 0x800 else "-"
        print(i.filename, utf8)
    z.extractall(sys.argv[2])
PY
)
expected="$name/LICENSE.txt -
$name/NOTICE.txt -
$name/kscgen-gui.exe -
$name/kscgen-源代码.tar.gz utf8
$name/kscgen.exe -
$name/使用说明.txt utf8"
[ "$listing" = "$expected" ] || fail "the zip holds"$'\n'"$listing"
dir=$work/unpacked/$name
guide=$dir/使用说明.txt
if [ "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' ')" != "efbbbf" ]; then
  fail "使用说明.txt has no byte order mark"
fi
if grep -q $'[^\r]$' <(tail -c +4 "$guide") || ! grep -q '双击 kscgen-gui.exe' "$guide"; then
  fail "使用说明.txt: not every line ends in CR LF, or no quick start"
fi
grep -q "GNU LESSER GENERAL PUBLIC LICENSE" "$dir/NOTICE.txt" || fail "NOTICE.txt without the LGPL"
# Every file the guide sends the reader to is in the zip, by that name; and a
# library of other kinds of video learns where to add them.
for named in $(grep -o '见 [A-Za-z0-9_-]*\.[A-Za-z0-9._-]*' "$guide" | cut -d' ' -f2); do
  [ -f "$dir/$named" ] || fail "使用说明.txt names $named, which the zip does not hold"
done
grep -q '后缀' "$guide" || fail "使用说明.txt does not say where other kinds of video are added"
for topic in 自定义 -p 编号取自文件名 --number-from-name 预览 备注; do
  grep -q -- "$topic" "$guide" || fail "使用说明.txt does not mention $topic"
done
# NOTICE.txt sends the reader to the licence and the source by the names
# they have in the zip.
for named in LICENSE.txt kscgen-源代码.tar.gz; do
  grep -q "$named" "$dir/NOTICE.txt" || fail "NOTICE.txt does not name $named"
done
# grep reads the whole listing: -q would stop tar early, which pipefail counts.
tar -tzf "$dir/kscgen-源代码.tar.gz" | grep '^kscgen-[^/]*/NOTICE$' >/dev/null ||
  fail "the source in the zip holds no NOTICE"

mkdir -p "$work/KTV"
cp -r "$(dirname "$0")/../examples/粤语金曲" "$work/KTV/"
cp -r "$work/KTV" "$work/KTV-linux"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  wine64 wineboot --init >/dev/null 2>&1
  wineserver -w
  cd "$1"
  wine64 ./kscgen-gui.exe "Z:$2/KTV/粤语金曲" --screenshot "Z:$2/started.png" >/dev/null 2>&1
  wine64 ./kscgen.exe -t 1 -r 2 --date 2026/12/7 "Z:$2/KTV/粤语金曲" >/dev/null 2>&1
' package-test "$dir" "$work"
[ -s "$work/started.png" ] || fail "kscgen-gui.exe did not start with a folder"
"$linux" -t 1 -r 2 --date 2026/12/7 "$work/KTV-linux/粤语金曲" >/dev/null
diff -r "$work/KTV-linux" "$work/KTV" >/dev/null || fail "kscgen.exe's KSC files differ from Linux's"
[ "$(find "$work/KTV" -name '*.KSC' | wc -l)" -eq 4 ] || fail "not 4 KSC files"
[ $failed -eq 0 ] && echo "package-test: $name.zip unpacked, both programs start in a fresh prefix, same bytes as Linux"
exit $failed
