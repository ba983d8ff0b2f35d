#!/usr/bin/env bash
# Builds one libFuzzer target with clang in its own build folder and runs it at low priority.
# New inputs go to a fresh temporary folder; the seed folders are read and left unchanged.
# Usage: tests/support/fuzz.sh <build folder below the source tree> <target path in the build>
#          <seconds> [seed folder ...]
# TESSELKA_FUZZ_BUILD, when set, names the build folder instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${TESSELKA_FUZZ_BUILD:-$top/$1}
target=$2
seconds=$3
shift 3
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DTESSELKA_FUZZ=ON -DTESSELKA_BENCH=OFF >/dev/null
ninja -C "$build" -j2 "$(basename "$target")"
work=$(mktemp -d)
nice "$build/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 "$work" "$@"
