#!/usr/bin/env bash
# Installs the Debian packages kscgen needs to build, test and run; installs
# only what is missing, so it is cheap to run before every build.
#   --bench    also Node.js and npm, which score the pinyin initials
#   --windows  only what the Windows build needs: the MinGW-w64
#              cross-compiler, Wine to run what it builds, the GoogleTest
#              sources to build the tests against, Qt's Chinese translations
#              that the window builds in, the Chinese locale Wine takes code
#              page 936 from, and static Qt for Windows (scripts/windows-qt.sh:
#              built once into a cache folder from Debian's source package,
#              with the Linux Qt's tools)
set -euo pipefail

case "${1:-}" in
  --windows)
    packages=(g++-mingw-w64-x86-64-posix wine64 googletest g++ cmake make
              dpkg-dev ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev
              qt6-translations-l10n locales xvfb xauth fonts-noto-cjk zip)
    ;;
  *)
    packages=(
      g++ cmake make pkg-config
      libgtest-dev libgmock-dev libbenchmark-dev
      qt6-base-dev libgl-dev qt6-translations-l10n
      clang libclang-rt-14-dev python3
      unicode-data bzip2 locales
      faketime util-linux e2fsprogs exfatprogs exfat-fuse
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
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "${1:-}" = "--windows" ]; then
  if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf-\?8'; then
    echo "Generating the locale zh_CN.UTF-8"
    $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
  fi
  bash "$(dirname "$0")/windows-qt.sh" >/dev/null
fi
