#!/usr/bin/env bash
# Makes docs/window.png: the window under a virtual X server, listing the
# sample folder with a template and a folder role chosen as a user would.
set -euo pipefail
build=${1:-build}
mkdir -p docs
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/bin/kscgen-gui" "$PWD/examples/粤语金曲" --screenshot docs/window.png
echo "wrote docs/window.png"
