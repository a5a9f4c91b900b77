#!/usr/bin/env bash
# Runs the Windows test programs of a cross-build under Wine, in a prefix
# made for this run and removed after it; no display is needed. With a Linux
# build too, also compares the GBK conversions of the two systems, and the
# KSC files kscgen.exe and the Linux kscgen write for the sample folders.
#   scripts/windows-test.sh [BUILD_DIR [LINUX_BUILD_DIR]]
set -uo pipefail
build=${1:-build-windows}
host=${2:-}

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
for t in kscgen_core_tests; do
  exe=$build/bin/$t.exe
  echo "== $t.exe under Wine =="
  # Brief: only failures and the summary. Wine writes CR LF.
  "$wine" "$exe" --gtest_brief=1 2>&1 | tr -d '\r'
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
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
exit $failed
