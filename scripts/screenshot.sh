#!/usr/bin/env bash
# Makes docs/window.png, docs/preview.png, docs/window-200.png and
# docs/preview-200.png: the window
# under a virtual X server, listing a copy of the sample folder 粤语金曲 under
# the neutral path KTV/粤语金曲 with a template and a folder role chosen, the
# preview opened from it, and both at 200 % on a 1366x768 screen. The
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
shoot 1366x768 2 --screenshot "$docs/window-200.png" --preview-screenshot "$docs/preview-200.png"
echo "wrote docs/window.png, docs/preview.png, docs/window-200.png and docs/preview-200.png"
