#!/usr/bin/env bash
# Runs kscgen on the bundled sample folder and shows one KSC file it wrote.
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
cp -r examples/. "$work"
folder="$work/粤语金曲"
"$build/bin/kscgen" -t 1 -r 2 "$folder"
echo
echo "== $(ls "$folder" | grep KSC | head -n 1) (GBK, shown as UTF-8) =="
iconv -f GBK -t UTF-8 "$folder/$(ls "$folder" | grep KSC | head -n 1)" | tr -d '\r'
