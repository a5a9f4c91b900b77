#!/usr/bin/env bash
# Makes docs/window.png and docs/preview.png: the window under a virtual X
# server, listing a copy of the sample folder 粤语金曲 under the neutral
# path KTV/粤语金曲 with a template and a folder role chosen, and the preview
# opened from it. The options come from a settings file made here, so the
# user's own settings are neither read nor changed.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
docs=$PWD/docs
mkdir -p "$docs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/KTV" "$work/config/kscgen"
cp -r examples/粤语金曲 "$work/KTV/"
cat >"$work/config/kscgen/kscgen-gui.ini" <<'INI'
[General]
folderRole=2
template=1
INI
(cd "$work" && XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/kscgen-gui" "KTV/粤语金曲" \
  --screenshot "$docs/window.png" --preview-screenshot "$docs/preview.png")
echo "wrote docs/window.png and docs/preview.png"
