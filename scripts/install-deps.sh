#!/usr/bin/env bash
# Installs the Debian packages kscgen needs to build, test and run; installs
# only what is missing, so it is cheap to run before every build.
#   --bench    also Node.js and npm, which score the pinyin initials
#   --windows  only what the Windows build needs: the MinGW-w64
#              cross-compiler, Wine to run what it builds, and the GoogleTest
#              sources to build the tests against, and Qt's Chinese
#              translations that the window builds in
set -euo pipefail

case "${1:-}" in
  --windows)
    packages=(g++-mingw-w64-x86-64-posix wine64 googletest g++ cmake make qt6-translations-l10n)
    ;;
  *)
    packages=(
      g++ cmake make pkg-config
      libgtest-dev libgmock-dev libbenchmark-dev
      qt6-base-dev libgl-dev qt6-translations-l10n
      clang libclang-rt-14-dev python3
      unicode-data bzip2 locales
      xvfb xauth fonts-noto-cjk
    )
    if [ "${1:-}" = "--bench" ]; then
      packages+=(nodejs)
      command -v npm >/dev/null || packages+=(npm)
    fi
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
