#!/usr/bin/env bash
# Builds the TrueType font fuzz target with clang in its own build folder and runs it, seeded with
# a few small fonts of the installed font packages (copied into a temporary folder).
# Usage: tests/draw/fuzz.sh [seconds, default 600]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seeds=$(mktemp -d)
cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/coure.fon /usr/share/wine/fonts/courier.ttf "$seeds"
"$here/../support/fuzz.sh" build-fuzz-draw tests/draw/font_fuzzer "${1:-600}" "$seeds"
