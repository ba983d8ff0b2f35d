#!/usr/bin/env bash
# Builds the TrueType font fuzz target with clang in its own build folder and runs it, seeded with
# a few small fonts of the installed font packages (copied into a temporary folder).
# Usage: tests/draw/fuzz.sh [seconds, default 600]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${TESSELKA_FUZZ_BUILD:-$top/build-fuzz-draw}
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DTESSELKA_FUZZ=ON -DTESSELKA_BENCH=OFF >/dev/null
ninja -C "$build" -j2 font_fuzzer
work=$(mktemp -d)
cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/coure.fon /usr/share/wine/fonts/courier.ttf "$work"
nice "$build/tests/draw/font_fuzzer" -max_total_time="${1:-600}" -rss_limit_mb=2048 -print_final_stats=1 "$work"
