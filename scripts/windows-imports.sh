#!/usr/bin/env bash
# Lists the DLLs a Windows program imports and fails when one is not part of
# Windows itself (a MinGW runtime, Qt, anything that would have to be
# shipped beside the program).
#   scripts/windows-imports.sh PROGRAM.exe...
set -uo pipefail
objdump=x86_64-w64-mingw32-objdump
# Windows' own DLLs, present on every Windows 10 and 11 (lower case).
system=" advapi32.dll authz.dll bcrypt.dll comctl32.dll comdlg32.dll crypt32.dll d2d1.dll
  d3d11.dll d3d12.dll d3d9.dll dwmapi.dll dwrite.dll dxgi.dll gdi32.dll imm32.dll kernel32.dll
  mpr.dll msvcrt.dll netapi32.dll ole32.dll oleaut32.dll setupapi.dll shcore.dll shell32.dll
  shlwapi.dll user32.dll userenv.dll uxtheme.dll version.dll winmm.dll ws2_32.dll
  wtsapi32.dll"
system=" $(echo $system) "  # one space between names, and at both ends
failed=0
for exe in "$@"; do
  imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u)
  if [ -z "$imports" ]; then
    echo "$exe: no imports found" >&2
    failed=1
    continue
  fi
  echo "$exe:" $imports
  for dll in $imports; do
    case "${dll,,}" in
      api-ms-win-core-*) continue ;;  # API sets: names the Windows loader resolves itself
    esac
    case "$system" in
      *" ${dll,,} "*) ;;
      *) echo "$exe: imports $dll, which is not part of Windows" >&2; failed=1 ;;
    esac
  done
done
exit $failed
