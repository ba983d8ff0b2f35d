#!/usr/bin/env bash
# Builds the audio loader fuzz target with clang in its own build folder and runs it, seeded with
# tests/audio/corpus (left unchanged: new inputs go to a temporary folder).
# Usage: tests/audio/fuzz.sh [seconds, default 600]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${TESSELKA_FUZZ_BUILD:-$top/build-fuzz-audio}
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DTESSELKA_FUZZ=ON -DTESSELKA_BENCH=OFF >/dev/null
ninja -C "$build" -j2 audio_fuzz
work=$(mktemp -d)
nice "$build/tests/audio/audio_fuzz" -max_total_time="${1:-600}" -rss_limit_mb=2048 -print_final_stats=1 \
  "$work" "$top/tests/audio/corpus"
