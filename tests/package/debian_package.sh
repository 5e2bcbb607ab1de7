#!/bin/bash
# The Debian package from end to end: `./dev deb` builds it from a copy of the tracked files,
# dpkg-deb unpacks it into a scratch root, the layout is Debian's for games, that unpacked copy
# of the game finds its own music (sound, not silence, second after second) and quits on
# Escape with status 0, and lintian and appstreamcli find nothing to warn about.
# Takes minutes (a whole build and lintian): run by `./dev check`, not by ctest.
# Usage: debian_package.sh BUILD_DIR SOURCE_DIR
set -u
for tool in dpkg-deb dpkg-buildpackage lintian appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 0; }
done
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=1800
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
ID=io.github.sevenchips.SevenChips
DATA=usr/share/games/sevenchips

STARTED=$(date +%s)
SEVENCHIPS_DEB_BUILD=$WORK/deb "$SRC/dev" deb >"$WORK/dev.log" 2>&1 || { cat "$WORK/dev.log"; fail "./dev deb failed"; }
DEB=$(echo "$WORK"/deb/sevenchips_*.deb)
[ -s "$DEB" ] || fail "not one sevenchips_*.deb: $DEB"
ok "built $(basename "$DEB") in $(( $(date +%s) - STARTED )) s"

ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT" || fail "dpkg-deb -x failed"
for f in usr/games/sevenchips usr/games/sevenchips-replay $DATA/bg/bg1.mid $DATA/se/se1.wav $DATA/se/se10.wav \
         usr/share/man/man6/sevenchips.6.gz usr/share/man/man6/sevenchips-replay.6.gz \
         usr/share/applications/$ID.desktop usr/share/metainfo/$ID.metainfo.xml usr/share/doc/sevenchips/copyright; do
    [ -s "$ROOT/$f" ] || fail "$f is not in the package"
done
for size in 16x16 32x32 48x48 64x64 128x128 256x256; do
    icon=$ROOT/usr/share/icons/hicolor/$size/apps/sevenchips.png
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "$size" ] || fail "no $size icon"
done
stray=$(cd "$ROOT" && find usr/bin usr/share/sevenchips usr/local 2>/dev/null)
[ -z "$stray" ] || fail "outside Debian's places for games: $stray"
zgrep -qF "/$DATA/se/da.txt" "$ROOT/usr/share/man/man6/sevenchips.6.gz" || fail "the manual page does not name /$DATA"
grep -qx "Icon=sevenchips" "$ROOT/usr/share/applications/$ID.desktop" || fail "the desktop entry's Icon is not the icons' name"
depends=$(dpkg-deb -f "$DEB" Depends)
for p in fonts-horai-umefont fluid-soundfont-gm libsdl2-mixer; do
    [[ $depends == *$p* ]] || fail "Depends lacks $p: $depends"
done
ok "layout: /usr/games, /$DATA, manual pages in section 6, desktop entry, metainfo, six icon sizes; Depends: $depends"

# The unpacked copy must find the music beside itself, not an installed one.
[ -e "/$DATA" ] && fail "/$DATA exists (the package is installed here): the unpacked copy's own data cannot be told apart"
start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw" "$ROOT/usr/games/sevenchips"
find_window
sleep 6
kill -0 "$PID" 2>/dev/null || { cat "$WORK/err"; fail "the unpacked game ended by itself"; }
# The battle and its music start about 2.5 s in: the seconds from 3 to 6 must each be sound.
python3 "$SRC/tests/e2e/audio.py" mix "$WORK/audio.raw" $((3 * 176400)) $((6 * 176400)) \
    $((3 * 176400)) $((6 * 176400)) || exit 1
quit_with_escape "the unpacked game"
ok "the unpacked game played its music and ended on Escape with status 0"

lintian --fail-on error,warning --info "$WORK"/deb/sevenchips_*.changes 2>&1 || fail "lintian: errors or warnings (status $?)"
appstreamcli validate-tree --no-net "$ROOT" || fail "appstreamcli validate-tree complains"
ok "lintian finds no errors or warnings on the .deb and the .changes; appstreamcli validates the metainfo"
echo "PASS in $(( $(date +%s) - STARTED )) s"
