#!/usr/bin/env bash
# The real game on a 1920 x 1080 screen (run it under xvfb-run -s '-screen 0 1920x1080x24'):
# Xft.dpi 192 in the X resources opens the first window twice the game's size (as far as the
# screen allows), a window resized with xdotool and full screen (W) are filled by the table to
# their edges, and the size comes back in window.txt. Usage: big_screen_test.sh BINARY
set -uo pipefail
binary=$1
home=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done; rm -rf "$home" "$home.spy"' EXIT
export TESSELKA_HOME=$home SDL_AUDIODRIVER=dummy
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Holds a connection, so the server keeps the resources between the clients below; connected
# once it has printed the root window's properties.
xprop -root -spy >"$home.spy" 2>&1 & pids+=($!)
disown
for _ in $(seq 100); do [ -s "$home.spy" ] && break; sleep 0.1; done
xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	192"

# The colour of screen pixel (x, y), as ImageMagick names it.
pixel() { import -window root "$home/shot.png" && convert "$home/shot.png" -format "%[pixel:p{$1,$2}]" info:; }
geometry() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p'; }
# Waits up to 15 s (a slow build draws late) for screen pixel (x, y) to be colour $3; true once it is.
settles_to() {
  for _ in $(seq 30); do [ "$(pixel "$1" "$2")" = "$3" ] && return 0; sleep 0.5; done
  return 1
}

"$binary" & game=$!; pids+=($game)
disown
id=""
for _ in $(seq 300); do
  id=$(xdotool search --onlyvisible --name '^Tesselka v6.4$' 2>/dev/null | head -n1)
  [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "FAIL: no window"; exit 1; }
# 1600 x 1200 asked, no taller than the screen.
[ "$(geometry "$id")" = "1600x1080" ] || fail "a scale of 2 opens $(geometry "$id"), not 1600x1080"

sleep 3
xdotool mousemove --window "$id" 10 10 click 1; sleep 1  # the flight cut short: the table
xdotool windowmove "$id" 0 0 windowsize "$id" 1200 800; sleep 1.5
[ "$(geometry "$id")" = "1200x800" ] || fail "resized to $(geometry "$id")"
table=$(pixel 1195 795)
[ "$table" != "black" ] && [ "$table" != "srgb(0,0,0)" ] || fail "the table does not reach the window's corner: $table"
[ "$(pixel 5 400)" = "$table" ] || fail "the table does not reach the window's left edge"

xdotool key w; sleep 2
settles_to 1915 1075 "$table" || fail "full screen: the corner is $(pixel 1915 1075), not the table"
[ "$(pixel 3 540)" = "$table" ] || fail "full screen shows bars"
xdotool key h; sleep 1
[ "$(pixel 3 540)" = "srgb(0,0,0)" ] || [ "$(pixel 3 540)" = "black" ] || fail "help is not laid out between bars"
xdotool key Escape; sleep 0.5; xdotool key w; sleep 2
xdotool key Escape; sleep 0.5; xdotool key Escape
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game" 2>/dev/null && fail "the game did not end"
[ "$(tr -d '\r' < "$home/players/default/window.txt" | tr '\n' ' ')" = "1200 800 0 " ] ||
  fail "window.txt holds: $(cat "$home/players/default/window.txt" 2>/dev/null)"
exit $((failures > 0))
