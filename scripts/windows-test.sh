#!/usr/bin/env bash
# Runs the Windows test programs of a cross-build under Wine, in a prefix
# made for this run and removed after it (a virtual X server only for the
# console kscgen.exe opens when double-clicked). Checks the programs'
# imports and resources. With a Linux build too, also compares the GBK
# conversions of the two systems, the KSC files kscgen.exe, the window and
# the Linux kscgen write for the sample folders, runs a Linux and a Windows
# run on one folder, and reads kscgen.exe's output in code page 936.
#   scripts/windows-test.sh [BUILD_DIR [LINUX_BUILD_DIR]]
set -uo pipefail
build=$(cd "${1:-build-windows}" && pwd)
host=${2:+$(cd "$2" && pwd)}

# Debian's wine64 package puts its loader outside PATH; the wine package
# adds a wrapper in PATH.
wine=""
for w in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
  if [ -n "$w" ] && [ -x "$w" ]; then wine=$w; break; fi
done
if [ -z "$wine" ]; then
  echo "windows-test: no Wine found (scripts/install-deps.sh --windows installs it)" >&2
  exit 1
fi
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo true)

prefix=$(mktemp -d)
cleanup() {
  WINEPREFIX=$prefix "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64
# Wine spells Linux file names and arguments in the locale's character set:
# UTF-8, whatever the machine's locale (a bare CI runner's is often "C").
export LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install .NET or a browser
unset DISPLAY WAYLAND_DISPLAY

# Setting the prefix up talks about the 32-bit half it does not have; keep
# that out of the test output.
"$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -w >/dev/null 2>&1 || true

failed=0
echo "== The programs: Windows' own DLLs, an icon, version information, a manifest, no debug sections =="
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
for exe in kscgen.exe kscgen-gui.exe; do
  if [ ! -f "$build/bin/$exe" ]; then
    echo "$exe: not built"
    failed=1
    continue
  fi
  bash "$(dirname "$0")/windows-imports.sh" "$build/bin/$exe" || failed=1
  bash "$(dirname "$0")/windows-manifest.sh" "$build/bin/$exe" || failed=1
  resources=$(x86_64-w64-mingw32-windres -i "$build/bin/$exe" -O rc 2>/dev/null)
  for want in '"IDI_ICON1" 14 /\* RT_GROUP_ICON' "VALUE \"OriginalFilename\", \"$exe\"" \
    "VALUE \"FileVersion\", \"$version\"" 'VALUE "LegalCopyright", "Copyright'; do
    grep -q "$want" <<<"$resources" || { echo "$exe: no $want"; failed=1; }
  done
  if x86_64-w64-mingw32-objdump -h "$build/bin/$exe" | grep -q '\.debug'; then
    echo "$exe: not stripped"
    failed=1
  fi
done

for t in kscgen_core_tests; do
  exe=$build/bin/$t.exe
  echo "== $t.exe under Wine =="
  # Brief: only failures and the summary. Wine writes CR LF.
  "$wine" "$exe" --gtest_brief=1 2>&1 | tr -d '\r'
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
done

# The window's layout tests need a screen description and a scale that
# only QT_ variables give, which Wine does not pass on; they run on Linux.
for t in kscgen_gui_options_tests kscgen_gui_folder_list_tests kscgen_gui_preview_tests \
  kscgen_gui_run_messages_tests kscgen_gui_settings_tests kscgen_gui_run_tests; do
  [ -f "$build/bin/$t.exe" ] || continue
  echo "== $t.exe under Wine (offscreen) =="
  # The platform as an argument; Qt Test writes its log to a file, not to
  # a pipe, on Windows. Only failures and the totals.
  rm -f "$prefix/gui.txt"
  "$wine" "$build/bin/$t.exe" -platform offscreen -o "Z:$prefix/gui.txt,txt" >/dev/null 2>&1
  code=$?
  tr -d '\r' <"$prefix/gui.txt" | grep -aE "^(FAIL|XPASS|Totals|QFATAL)|Actual|Expected"
  [ $code -eq 0 ] || failed=1
done

if [ -n "$host" ]; then
  echo "== GBK conversions: code page 936 under Wine against iconv on Linux =="
  "$wine" "$build/bin/gbk_table.exe" 2>/dev/null | tr -d '\r' >"$prefix/windows.txt"
  "$host/bin/gbk_table" >"$prefix/linux.txt"
  if cmp -s "$prefix/windows.txt" "$prefix/linux.txt" && [ -s "$prefix/linux.txt" ]; then
    echo "gbk_table: $(wc -l <"$prefix/linux.txt") entries, identical"
  else
    echo "gbk_table: the two systems differ (< Windows, > Linux):"
    diff "$prefix/windows.txt" "$prefix/linux.txt" | head -20
    failed=1
  fi
fi
if [ -n "$host" ]; then
  echo "== KSC files: kscgen.exe under Wine against kscgen on Linux =="
  bash "$(dirname "$0")/same-ksc-bytes.sh" "$host/bin/kscgen" "$wine" "$build/bin/kscgen.exe" \
    "$(dirname "$0")/../examples" "$prefix/same-bytes" || failed=1
fi
if [ -n "$host" ] && [ -f "$build/bin/window_run.exe" ]; then
  echo "== The window's run under Wine against kscgen on Linux, Chinese-named folders =="
  samples=$(dirname "$0")/../examples
  window=$prefix/window
  same=0
  for c in "粤语金曲 1 2" "怀旧金曲 4 1" ". 3 0"; do
    read -r folder template role <<<"$c"
    for try in 1 2; do  # again when the run crossed midnight
      for side in linux windows; do
        rm -rf "${window:?}/$side"
        mkdir -p "$window/$side"
        cp -r "$samples" "$window/$side/样本"
      done
      "$wine" "$build/bin/window_run.exe" \
        "Z:$window/windows/样本/$folder" "$template" "$role" >"$prefix/window.out" 2>&1
      code=$?
      dates=$(tr -d '\r' <"$prefix/window.out" | grep '^date ' | sort -u)
      [ "$(wc -l <<<"$dates")" -eq 1 ] && break
    done
    if [ $code -ne 0 ] || [ "$(wc -l <<<"$dates")" -ne 1 ] || [ -z "$dates" ]; then
      echo "window: the run on $folder did not end well:"
      tr -d '\r' <"$prefix/window.out" | head -5
      failed=1
      continue
    fi
    "$host/bin/kscgen" -t "$template" -r "$role" --date "${dates#date }" \
      "$window/linux/样本/$folder" >/dev/null
    if diff -r "$window/linux" "$window/windows" >"$prefix/window.diff"; then
      same=$((same + $(find "$window/linux" -name '*.KSC' | wc -l)))
    else
      echo "window: the files of $folder -t $template -r $role differ:"
      head -10 "$prefix/window.diff"
      failed=1
    fi
  done
  echo "window: $same KSC files written by the window under Wine, byte for byte kscgen's on Linux"
fi
if [ -f "$build/bin/console_start_test.exe" ]; then
  echo "== kscgen.exe double-clicked: a console of its own (under Xvfb) =="
  # The prefix's desktop must start with the display, not the one before.
  "$wineserver" -k >/dev/null 2>&1
  "$wineserver" -w >/dev/null 2>&1
  xvfb-run -a "$wine" "$build/bin/console_start_test.exe" "$build/bin/kscgen.exe" 2>&1 |
    tr -d '\r' | grep '^console-start'
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
  "$wineserver" -k >/dev/null 2>&1
  "$wineserver" -w >/dev/null 2>&1
fi
if [ -n "$host" ]; then
  echo "== One folder, a Linux run and a Windows run =="
  bash "$(dirname "$0")/mixed-lock-test.sh" "$host" "$wine" "$build" "$prefix/mixed-lock" ||
    failed=1
fi
if [ -n "$host" ]; then
  echo "== kscgen.exe's output to a file or pipe: GBK with CR LF on Chinese Windows =="
  # Wine takes the Windows code pages from the locale: 936 for zh_CN.
  page_failed=0
  dir=$prefix/code-page/粤语金曲
  mkdir -p "$dir"
  cp "$(dirname "$0")"/../examples/粤语金曲/* "$dir/"
  args=(-n -t 1 -r 2 --date 2026/12/7)
  "$host/bin/kscgen" "${args[@]}" "$dir" >"$prefix/linux.out"
  "$host/bin/kscgen" -t 9 "$dir" 2>"$prefix/linux.err"
  LC_ALL=zh_CN.UTF-8 "$wine" "$build/bin/kscgen.exe" "${args[@]}" "Z:$dir" >"$prefix/windows.out"
  LC_ALL=zh_CN.UTF-8 "$wine" "$build/bin/kscgen.exe" -t 9 "Z:$dir" 2>"$prefix/windows.err"
  LC_ALL=zh_CN.UTF-8 "$wine" "$build/bin/kscgen.exe" --utf8 "${args[@]}" "Z:$dir" \
    >"$prefix/windows-utf8.out"
  # The table's first column heading, 视频文件, spelled in GBK by hand.
  if [ "$(head -c 12 "$prefix/windows.out" | od -An -tx1 | tr -d ' \n')" != \
       "cad3c6b5cec4bcfe094b5343" ]; then
    echo "code page: the table does not start with 视频文件 in GBK"
    page_failed=1
  fi
  for stream in out err; do
    iconv -f UTF-8 -t GBK "$prefix/linux.$stream" | sed 's/$/\r/' >"$prefix/expected.$stream"
    if ! cmp -s "$prefix/expected.$stream" "$prefix/windows.$stream" ||
       [ ! -s "$prefix/expected.$stream" ]; then
      echo "code page: standard $stream is not Linux's text in GBK with CR LF"
      page_failed=1
    fi
  done
  if ! cmp -s "$prefix/linux.out" "$prefix/windows-utf8.out"; then
    echo "code page: --utf8 does not write the bytes Linux writes"
    page_failed=1
  fi
  [ $page_failed -eq 0 ] && echo "code page: tables and messages in GBK with CR LF; --utf8 as on Linux"
  [ $page_failed -eq 0 ] || failed=1
fi
if [ -n "$host" ]; then
  echo "== kscgen.exe on a folder of unlisted kinds, and on a quoted path ending in a backslash =="
  edge_failed=0
  dir=$prefix/edges/mkv-only
  mkdir -p "$dir"
  touch "$dir/a.mkv" "$dir/b.mkv" "$dir/c.mp4"
  windows_dir="Z:$(echo "$dir" | tr / '\\')"
  LC_ALL=zh_CN.UTF-8 "$wine" "$build/bin/kscgen.exe" --utf8 -t 0 "$windows_dir" \
    >"$prefix/edges.out" 2>&1
  code=$?
  if [ $code -ne 1 ] || ! grep -q "另有 2 个 .mkv、1 个 .mp4 文件未列出，可用 --ext mkv,mp4 加入" \
       "$prefix/edges.out"; then
    echo "edges: a folder of .mkv and .mp4 only (exit $code):"; cat "$prefix/edges.out"
    edge_failed=1
  fi
  # cmd.exe hands "Z:\...\mkv-only\" to a program as Z:\...\mkv-only" (the
  # backslash escapes the quote): what kscgen.exe then gets.
  LC_ALL=zh_CN.UTF-8 "$wine" "$build/bin/kscgen.exe" --utf8 -t 0 "$windows_dir\"" \
    >"$prefix/quoted.out" 2>&1
  code=$?
  if [ $code -eq 0 ] || ! grep -q "去掉末尾的反斜杠" "$prefix/quoted.out"; then
    echo "edges: a quoted path ending in a backslash (exit $code):"; cat "$prefix/quoted.out"
    edge_failed=1
  fi
  [ $edge_failed -eq 0 ] && echo "edges: unlisted kinds named, exit 1; the quoted path's hint given"
  [ $edge_failed -eq 0 ] || failed=1
fi
exit $failed
