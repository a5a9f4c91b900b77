#!/usr/bin/env bash
# Installs what the Windows build needs: the MinGW-w64 cross-compiler, Wine
# to run what it builds, and the GoogleTest sources to build the tests
# against. Only what is missing, as install-deps.sh does.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix
  wine64
  googletest
  g++ cmake make
)

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
