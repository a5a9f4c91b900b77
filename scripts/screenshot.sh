#!/usr/bin/env bash
# Makes docs/window.png, docs/preview.png, docs/window-150.png,
# docs/window-200.png, docs/preview-200.png and docs/run-200.png: the window
# under a virtual X server, listing a copy of the sample folder 粤语金曲 under
# the neutral path KTV/粤语金曲 with a template and a folder role chosen, the
# preview opened from it, the window at 150 % and both at 200 % on a
# 1366x768 screen, and at 200 % on 1366x688 (the room a taskbar leaves) the
# message a run ends with over that folder and 20 videos it must skip. The
# options come from a settings file made here, so that the user's own
# settings are neither read nor changed.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
docs=$PWD/docs
mkdir -p "$docs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/KTV"
cp -r examples/粤语金曲 "$work/KTV/"

# One picture per call, each from a fresh settings file: a window placed by
# one run must not place the next.
shoot() {
  local screen=$1 scale=$2
  shift 2
  rm -rf "$work/config"
  mkdir -p "$work/config/kscgen"
  printf '[General]\nfolderRole=2\ntemplate=1\n' >"$work/config/kscgen/kscgen-gui.ini"
  (cd "$work" && QT_SCALE_FACTOR=$scale XDG_CONFIG_HOME="$work/config" \
    xvfb-run -a -s "-screen 0 ${screen}x24" "$build/bin/kscgen-gui" "KTV/粤语金曲" "$@")
}
shoot 1280x800 1 --screenshot "$docs/window.png" --preview-screenshot "$docs/preview.png"
shoot 1366x768 1.5 --screenshot "$docs/window-150.png"
shoot 1366x768 2 --screenshot "$docs/window-200.png" --preview-screenshot "$docs/preview-200.png"
# A control character in a name: no KSC file can name such a video.
for i in $(seq -w 1 20); do : >"$work/KTV/粤语金曲/skipped$i"$'\001'".mpg"; done
shoot 1366x688 2 --run-screenshot "$docs/run-200.png"
echo "wrote docs/window.png, docs/preview.png, docs/window-150.png, docs/window-200.png," \
  "docs/preview-200.png and docs/run-200.png"
