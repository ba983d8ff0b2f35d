#!/usr/bin/env bash
# Sets up, builds and runs every test (unit, drawing, end-to-end, smoke, fuzz corpus replay).
# Without a display the tests run under a virtual X server at depth 24.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
build=${TESSELKA_BUILD:-$top/build}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
cd "$build"
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure "$@"
fi
exec ctest --output-on-failure "$@"
