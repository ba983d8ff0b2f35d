#!/usr/bin/env bash
# Prepares a fresh Debian 12 machine and builds Tesselka: installs the missing packages of
# scripts/packages.txt, configures with CMake (Ninja) into build/ and builds everything.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

missing=()
while read -r pkg; do
  [[ -z "$pkg" || "$pkg" == \#* ]] && continue
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done < scripts/packages.txt

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=${TESSELKA_BUILD:-$top/build}
if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build"
