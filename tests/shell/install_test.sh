#!/usr/bin/env bash
# Installs the build into a temporary root (DESTDIR) and checks the installed game: its files,
# the desktop validators, the options that need no window, and the data folder that the
# installed program prepares from a read-only prefix (first start, next start, a newer
# version, the player's own files, a folder it may not write), and that run.sh asks for a
# display before it builds. Usage: install_test.sh BUILD SOURCE
set -euo pipefail
build=$1 source=$2
root=$(mktemp -d)
trap 'chmod -R u+w "$root"; rm -rf "$root"' EXIT
chmod 755 "$root"
usr=$root/dest/usr
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR=$root/dest cmake --install "$build" --prefix /usr >/dev/null

# ---- The installed files
for file in bin/tesselka bin/tesselka-cut \
    share/applications/org.tesselka.tesselka.desktop \
    share/metainfo/org.tesselka.tesselka.metainfo.xml \
    share/man/man6/tesselka.6.gz share/man/man6/tesselka-cut.6.gz \
    share/tesselka/images/pointer.bmp share/tesselka/fonts/Tahoma.ttf \
    share/tesselka/sounds/music.ogg share/tesselka/jigsaws/0000vorna/pieces.txt; do
  [[ -f $usr/$file ]] || fail "$file is not installed"
done
[[ -e $usr/share/tesselka/assets.stamp ]] && fail "the build's stamp is installed"
for size in 16 24 32 48 64 128 256; do
  icon=$usr/share/icons/hicolor/${size}x$size/apps/tesselka.png
  file -b "$icon" | grep -q "^PNG image data, $size x $size, 8-bit/color RGBA" ||
    fail "icon $icon: $(file -b "$icon")"
done

# ---- Validators and manual pages
desktop-file-validate "$usr/share/applications/org.tesselka.tesselka.desktop" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$usr/share/metainfo/org.tesselka.tesselka.metainfo.xml" \
  >"$root/appstream.log" 2>&1 || { cat "$root/appstream.log" >&2; fail "appstreamcli validate"; }
for page in tesselka tesselka-cut; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man6/$page.6.gz" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man page $page.6.gz: $warnings"
done
exec_line=$(sed -n 's/^Exec=//p' "$usr/share/applications/org.tesselka.tesselka.desktop")
[[ -x $usr/bin/${exec_line%% *} ]] || fail "the menu entry runs '$exec_line', which is not installed"

# ---- Options that need no window
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy)
[[ $("${no_display[@]}" "$usr/bin/tesselka" --version) == "tesselka 6.4" ]] || fail "--version"
"${no_display[@]}" "$usr/bin/tesselka" --help | grep -q "^Usage: tesselka \[PLAYER\]" || fail "--help"
"${no_display[@]}" "$usr/bin/tesselka-cut" --help | grep -q "^Usage: tesselka-cut" || fail "cut --help"

# ---- The data folder. Without a display the program prepares the folder, then stops at the
# display with status 1.
data=$root/data
start() {  # start EXPECTED_STATUS EXPECTED_MESSAGE [command prefix...]
  local status=0 expected=$1 message=$2
  shift 2
  "$@" "${no_display[@]}" TESSELKA_HOME="$data" "$usr/bin/tesselka" >"$root/out" 2>&1 || status=$?
  [[ $status == "$expected" ]] || fail "status $status, expected $expected: $(cat "$root/out")"
  grep -q "$message" "$root/out" || fail "expected '$message' in: $(cat "$root/out")"
}
chmod -R a-w "$root/dest"
touch "$root/before"
start 1 "no display could be opened"
for tree in images fonts sounds jigsaws; do
  diff -r "$usr/share/tesselka/$tree" "$data/$tree" >/dev/null || fail "first start: $tree differs"
done
[[ -d $data/players ]] || fail "first start: no players/"
[[ -z $(find "$root/dest" -newer "$root/before") ]] || fail "the install prefix was written"

# Next start: the player's progress and jigsaws stay, a killed jigsaw stays killed.
mkdir -p "$data/players/ann" "$data/jigsaws/5000mine"
echo progress >"$data/players/ann/0000vorna.txt"
echo mine >"$data/jigsaws/5000mine/pieces.txt"
killed=$(ls "$usr/share/tesselka/jigsaws" | grep -v 0000vorna | head -n1)
rm -r "${data:?}/jigsaws/$killed"
start 1 "no display could be opened"
[[ -d $data/jigsaws/$killed ]] && fail "next start: the killed jigsaw $killed came back"

# A newer version: its assets replace the old ones; the player's files stay.
chmod -R u+w "$root/dest"
printf 'newer' >"$usr/share/tesselka/images/pointer.bmp"
chmod -R a-w "$root/dest"
start 1 "no display could be opened"
[[ $(cat "$data/images/pointer.bmp") == newer ]] || fail "newer version: pointer.bmp not refreshed"
[[ $(cat "$data/players/ann/0000vorna.txt") == progress ]] || fail "newer version: progress lost"
[[ $(cat "$data/jigsaws/5000mine/pieces.txt") == mine ]] || fail "newer version: own jigsaw lost"

# A data folder that cannot be written (root writes anywhere: start as nobody then).
chmod -R a-w "$data"
as_other=()
[[ $(id -u) == 0 ]] && as_other=(setpriv --reuid=65534 --regid=65534 --clear-groups)
start 1 "cannot be written into $data" "${as_other[@]}"
chmod -R u+w "$data"

# A HOME that cannot be written.
mkdir -p "$root/home" && chmod 555 "$root/home"
status=0
"${as_other[@]}" env -u XDG_DATA_HOME -u TESSELKA_HOME HOME="$root/home" "$usr/bin/tesselka" \
  >"$root/out" 2>&1 || status=$?
[[ $status == 1 ]] && grep -q "$root/home/.local/share/tesselka cannot be created" "$root/out" ||
  fail "read-only HOME: $(cat "$root/out")"

# A data folder that is a file; no HOME at all.
rm -rf "$data" && touch "$data"
start 1 "is a file, not a folder"
status=0
env -u HOME -u XDG_DATA_HOME -u TESSELKA_HOME "$usr/bin/tesselka" >"$root/out" 2>&1 || status=$?
[[ $status == 1 ]] && grep -q "Set TESSELKA_HOME" "$root/out" || fail "no HOME: $(cat "$root/out")"

# run.sh without a display says so at once, before setting up and building.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 bash "$source/run.sh" >"$root/out" 2>&1 || status=$?
[[ $status == 1 ]] && grep -q "xvfb-run" "$root/out" && ! grep -q "^setup:\|ninja" "$root/out" ||
  fail "run.sh without a display: status $status: $(cat "$root/out")"

((failures == 0)) && echo "install tree: all checks passed"
exit $((failures > 0))
