#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) in a
# separate build folder and runs each on a copy of its seed corpus, at low priority.
# Usage: tests/fuzz/run.sh [seconds per target, default 600] [target ...]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${TESSELKA_FUZZ_BUILD:-$top/build-fuzz}
seconds=${1:-600}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(load_pixmap lines)

CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DTESSELKA_FUZZ=ON -DTESSELKA_BENCH=OFF >/dev/null
nice ninja -C "$build" "${targets[@]/%/_fuzzer}"

for target in "${targets[@]}"; do
  work="$build/fuzz-work/$target"
  mkdir -p "$work/corpus" "$work/findings"
  cp -n "$top/tests/fuzz/corpus/$target/"* "$work/corpus/" 2>/dev/null || true
  # New inputs go to the work corpus; crashes, leaks and timeouts to findings/.
  nice -n 19 "$build/tests/fuzz/${target}_fuzzer" "$work/corpus" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="$work/findings/" -print_final_stats=1 2>&1 | tail -n 25
done
