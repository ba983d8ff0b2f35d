#!/usr/bin/env bash
# Runs Tesselka from the source tree: sets up and builds (scripts/setup.sh), then starts the
# built game, which prepares its data folder itself as the installed game does.
# Usage: ./run.sh [player]
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)

# Before minutes of building: the game needs a display.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "tesselka: no display found (DISPLAY is not set), and the game needs one." >&2
  echo "Run it on a desktop, or without one under a virtual X server:" >&2
  echo "  xvfb-run -a -s '-screen 0 1280x1024x24' ./run.sh [player]" >&2
  exit 1
fi

"$top/scripts/setup.sh" >&2

build=${TESSELKA_BUILD:-$top/build}
exec "$build/shell/tesselka" "$@"
