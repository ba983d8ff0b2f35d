#!/usr/bin/env bash
# Guards the layering check itself: a tree holding each kind of upward include fails, naming the
# file and the include; a tree that only includes downwards passes.
set -euo pipefail
check=$(cd "$(dirname "$0")" && pwd)/check_includes.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

put() {  # put <file> <line>...
  mkdir -p "$tree/$(dirname "$1")"
  local file=$1
  shift
  printf '%s\n' "$@" > "$tree/$file"
}

# Downwards only, in every spelling of an include.
put shell/keys.cpp '#include "library/library.h"' '#include "box/box.h"' '#include "shell/internal.h"'
put library/save.cpp '#include "play/play.h"' '# include "game/game.h"'
put box/tidy.cpp '#include "play/play.h"'
put play/table.cpp '#include "game/game.h"' '#include "draw/draw.h"'
put game/notices.cpp '#include "platform/platform.h"'
put draw/gl/backend.cpp '#include "platform/platform.h"'
"$check" "$tree" || { echo "a downward tree was refused"; exit 1; }

fails=0
expect_refused() {  # expect_refused <file> <include line>
  put "$1" "$2"
  local out
  if out=$("$check" "$tree"); then
    echo "not refused: $1 with $2"
    fails=1
  elif [[ $out != *"$1: $2"* ]]; then
    echo "refused without naming $1 and $2: $out"
    fails=1
  fi
  rm "$tree/$1"
}
expect_refused play/joining.cpp '#include "shell/shell.h"'
expect_refused play/filters.cpp '#include "box/box.h"'
expect_refused box/view.cpp '#include "library/library.h"'
expect_refused library/pages.cpp '#  include "shell/shell.h"'
expect_refused game/sounds.cpp '#include "play/play.h"'
expect_refused game/internal.h '#include "shell/shell.h"'
expect_refused platform/sdl/window.cpp '#include "game/game.h"'
expect_refused files/codec.c '#include "library/library.h"'
expect_refused draw/pixmap/convert.cpp '#include "play/play.h"'
exit $fails
