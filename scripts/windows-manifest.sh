#!/usr/bin/env bash
# Fails when a Windows program lacks its application manifest, or the manifest
# lacks what the program relies on: per-monitor DPI awareness, long paths,
# the Windows versions it was made for.
#   scripts/windows-manifest.sh PROGRAM.exe...
set -uo pipefail
failed=0
for exe in "$@"; do
  # The manifest is stored as its own text in the program's resources.
  for wanted in '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2' \
                '<longPathAware xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">true' \
                '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>' \
                '<requestedExecutionLevel level="asInvoker"'; do
    if ! grep -aqF "$wanted" "$exe"; then
      echo "$exe: its manifest lacks $wanted" >&2
      failed=1
    fi
  done
done
[ $failed = 0 ] && echo "manifests: $*"
exit $failed
