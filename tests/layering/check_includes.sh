#!/usr/bin/env bash
# Checks the game's layering in the source tree at $1 (default: this checkout): a game module
# includes only headers of game modules below it (shell over library over box over play over
# game), and the framework (platform/, files/, draw/) includes no game module. Prints each
# upward include as "file: #include ..." and fails when there is one.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root"

game_modules=(game play box library shell)  # lowest first
framework=(platform files draw)
declare -A rank  # a game module's height; the framework is below every one
for i in "${!game_modules[@]}"; do rank[${game_modules[$i]}]=$i; done

status=0
# Every quoted include of every C or C++ file below a game or framework folder.
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest#*:}
  [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]] || continue
  included=${BASH_REMATCH[1]}
  [[ -n ${rank[$included]:-} ]] || continue  # not a game module
  if ((${rank[${file%%/*}]:--1} < rank[$included])); then
    echo "$file: $line (upward: ${file%%/*} must not include $included)"
    status=1
  fi
done < <(grep -rnE --include='*.h' --include='*.cpp' --include='*.c' \
           '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
           "${game_modules[@]}" "${framework[@]}" 2>/dev/null || true)
exit $status
