#!/usr/bin/env bash
# Makes docs/windows.png: kscgen-gui.exe of a Windows build under Wine and a
# virtual X server, in a fresh prefix with a Chinese locale (code page 936,
# Noto CJK as the Chinese fonts), started with a copy of the sample folder
# D:\KTV\粤语金曲 as its argument, as a folder dropped on it arrives; template
# and folder role are set in its settings file.
#   scripts/windows-screenshot.sh [WINDOWS_BUILD_DIR [PICTURE]]
set -euo pipefail
build=$(cd "${1:-build-windows}" && pwd)
picture=${2:-$PWD/docs/windows.png}
mkdir -p "$(dirname "$picture")"
picture=$(cd "$(dirname "$picture")" && pwd)/$(basename "$picture")
work=$(mktemp -d)
trap 'WINEPREFIX=$work/wine wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
PATH=/usr/lib/wine:$PATH
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEARCH=win64 LC_ALL=zh_CN.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$work/KTV"
cp -r "$(dirname "$0")/../examples/粤语金曲" "$work/KTV/"

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -e
  wine64 wineboot --init >/dev/null 2>&1
  wineserver -w
  # The fonts of Chinese Windows, by the names programs ask for.
  for face in "Microsoft YaHei" "Microsoft YaHei UI" SimSun NSimSun SimHei; do
    wine64 reg add "HKCU\\Software\\Wine\\Fonts\\Replacements" /v "$face" /t REG_SZ \
      /d "Noto Sans CJK SC" /f >/dev/null 2>&1
  done
  settings=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)/kscgen
  mkdir -p "$settings"
  printf "[General]\r\nfolderRole=2\r\ntemplate=1\r\n" >"$settings/kscgen-gui.ini"
  # The samples on a drive D:, given as Explorer gives a dropped folder.
  ln -sfn "$1" "$WINEPREFIX/dosdevices/d:"
  wine64 "$2/bin/kscgen-gui.exe" "D:\\KTV\\粤语金曲" --screenshot "Z:$3" >/dev/null 2>&1
' screenshot "$work" "$build" "$picture"
[ -s "$picture" ] || { echo "windows-screenshot: no picture" >&2; exit 1; }
echo "wrote $picture"
