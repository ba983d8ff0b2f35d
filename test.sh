#!/usr/bin/env bash
# Sets up, builds and runs every test (unit, drawing, end-to-end, smoke, fuzz corpus replay).
# Without a display the tests run under a virtual X server at depth 24. A run without arguments
# then builds the end-to-end and smoke tests once more under AddressSanitizer and runs them.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
build=${TESSELKA_BUILD:-$top/build}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

run_tests() {
  if [[ -z "${DISPLAY:-}" ]]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure "$@"
  else
    ctest --output-on-failure "$@"
  fi
}

(cd "$build" && run_tests "$@")
(($# == 0)) || exit 0

# Memory errors at the ends of the process (exit, a lost display) show only under the sanitizer.
# Leak reports would be the GL driver's, which is unloaded before they are made.
asan=${TESSELKA_ASAN_BUILD:-$build-asan}
if [[ ! -f "$asan/build.ninja" ]]; then
  cmake -S "$top" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSELKA_SANITIZE=ON \
    -DTESSELKA_BENCH=OFF
fi
# The game and its tests find the runtime tree beside the program: borrow the main build's.
[[ -e "$asan/runtime" ]] || ln -s "$build/runtime" "$asan/runtime"
cmake --build "$asan" --target shell_display_tests shell_smoke_tests
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The celebration's smoke test paces its clicks with fixed sleeps meant for the normal build; the
# two-colour pointer case runs the platform's display tests, which only the main build has.
cd "$asan" && run_tests -L display -E 'SolvingTheRedMixerWithSevensEndsInTheCelebration|platform_two_colour_pointers'
