#!/usr/bin/env bash
# Builds the audio loader fuzz target with clang in its own build folder and runs it, seeded with
# tests/audio/corpus (left unchanged: new inputs go to a temporary folder).
# Usage: tests/audio/fuzz.sh [seconds, default 600]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/../support/fuzz.sh" build-fuzz-audio tests/audio/audio_fuzz "${1:-600}" "$here/corpus"
