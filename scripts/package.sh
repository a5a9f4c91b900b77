#!/usr/bin/env bash
# The Windows release: dist/kscgen-VERSION-windows-x64.zip, holding the two
# programs of a Windows build, the Chinese quick start (UTF-8 with a byte
# order mark and CR LF, which every Notepad reads), LICENSE, NOTICE with
# Qt's licence texts appended, and kscgen's source (the committed tree, as
# NOTICE's relinking steps need it). Checks what it packs: the programs
# import only Windows' own DLLs.
#   scripts/package.sh [WINDOWS_BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build-windows}" && pwd)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=kscgen-$version-windows-x64
stage=$build/package/$name
rm -rf "$build/package"
mkdir -p "$stage" "$root/dist"

for exe in kscgen-gui.exe kscgen.exe; do
  if [ ! -f "$build/bin/$exe" ]; then
    echo "package: $build/bin/$exe is missing (make windows builds it)" >&2
    exit 1
  fi
  bash "$root/scripts/windows-imports.sh" "$build/bin/$exe" >/dev/null
  cp "$build/bin/$exe" "$stage/"
done

crlf() { sed 's/\r*$/\r/'; }
{ printf '\xef\xbb\xbf'; crlf <"$root/app/windows/使用说明.txt"; } >"$stage/使用说明.txt"
crlf <"$root/LICENSE" >"$stage/LICENSE.txt"
{
  cat "$root/NOTICE"
  for licence in LGPL-3 GPL-3; do
    printf '\n\n%s\n\n' "==== $licence: /usr/share/common-licenses/$licence ===="
    cat "/usr/share/common-licenses/$licence"
  done
} | crlf >"$stage/NOTICE.txt"

# The source the release was built from: the committed tree of this checkout.
if ! git -C "$root" diff --quiet HEAD -- 2>/dev/null; then
  echo "package: the checkout has uncommitted changes; the source packed is the last commit" >&2
fi
git -C "$root" archive --format=tar.gz --prefix="kscgen-$version/" HEAD \
  >"$stage/kscgen-源代码.tar.gz"

# Python's zipfile marks the Chinese name as UTF-8, as Explorer, 7-Zip and
# the other unpackers read it.
zip=$root/dist/$name.zip
rm -f "$zip"
python3 - "$build/package" "$name" "$zip" <<'PY'
import os, sys, zipfile
base, name, out = sys.argv[1:]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for f in sorted(os.listdir(os.path.join(base, name))):
        z.write(os.path.join(base, name, f), name + "/" + f)
PY
echo "package: $zip ($(du -k "$zip" | cut -f1) KB)"
