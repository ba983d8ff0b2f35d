#!/usr/bin/env bash
# Runs Tesselka: sets up and builds (scripts/setup.sh), refreshes the game's data directory and
# starts the game there. Usage: ./run.sh [player]
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh" >&2

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "tesselka: no display found (DISPLAY is not set)." >&2
  echo "Run it on a desktop, or without one under a virtual X server:" >&2
  echo "  xvfb-run -a -s '-screen 0 1280x1024x24' ./run.sh [player]" >&2
  exit 1
fi

build=${TESSELKA_BUILD:-$top/build}
data=${TESSELKA_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/tesselka}
mkdir -p "$data/players"
# Assets are the build's own: refresh them on every run.
for tree in images fonts sounds; do
  rm -rf "$data/$tree"
  cp -r "$build/runtime/$tree" "$data/$tree"
done
# The library is copied once, so killed jigsaws stay killed and the player's own jigsaws stay.
if [[ ! -d "$data/jigsaws" ]]; then
  cp -r "$build/runtime/jigsaws" "$data/jigsaws"
fi
cd "$data"
exec "$build/shell/tesselka" "$@"
