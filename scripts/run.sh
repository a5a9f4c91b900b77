#!/usr/bin/env bash
# Starts the window. Without a display (a bare server), it says how to get one.
set -euo pipefail
build=${1:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: run 'make run' from a desktop session, or try the command line:"
  echo "  $build/bin/kscgen -t 1 -r 2 -n examples/粤语金曲"
  exit 1
fi
shift || true  # the build folder is not a folder to list
exec "$build/bin/kscgen-gui" "$@"
