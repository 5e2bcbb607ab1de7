#!/bin/bash
# The installed program: `cmake --install` lays out bin/ and share/; the installed copy finds
# its music beside it (the audio it writes through SDL's disk driver is sound, not silence,
# second after second once the battle has started), quits on Escape with status 0, and the
# manual page and the desktop entry are there.
# Usage: install_tree.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=90
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"

PREFIX=$WORK/prefix
ENTRY=$PREFIX/share/applications/io.github.sevenchips.SevenChips.desktop
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || { cat "$WORK/install.log"; fail "cmake --install failed"; }
for f in bin/sevenchips bin/sevenchips-replay share/sevenchips/bg/bg1.mid share/sevenchips/se/se1.wav \
         share/sevenchips/se/se10.wav share/icons/hicolor/64x64/apps/sevenchips.png share/man/man6/sevenchips.6; do
    [ -s "$PREFIX/$f" ] || fail "$f is not installed"
done
[ -x "$PREFIX/bin/sevenchips" ] || fail "bin/sevenchips is not executable"
[ "$(identify -format '%wx%h' "$PREFIX/share/icons/hicolor/64x64/apps/sevenchips.png")" = 64x64 ] || fail "the icon is not 64x64"
for line in 'Name=Seven Chips' 'Exec=sevenchips' 'Icon=sevenchips' 'Categories=Game;ArcadeGame;'; do
    grep -qxF "$line" "$ENTRY" 2>/dev/null || fail "the desktop entry has no line $line"
done
! command -v desktop-file-validate >/dev/null || desktop-file-validate "$ENTRY" || fail "desktop-file-validate complains"
ok "installed: bin/, share/sevenchips/{bg,se}, the icon, the manual page, the desktop entry (valid, if checked)"
grep -qF "$PREFIX/share/sevenchips/se/da.txt" "$PREFIX/share/man/man6/sevenchips.6" || fail "the manual page does not name this install's clear file"
if command -v man >/dev/null; then
    warnings=$(MANWIDTH=80 man --warnings -l "$PREFIX/share/man/man6/sevenchips.6" 2>&1 >"$WORK/man.txt")
    [ -z "$warnings" ] || fail "the manual page has formatting warnings: $warnings"
    grep -q 'スリーピング' "$WORK/man.txt" && grep -q 'Escape' "$WORK/man.txt" || fail "the manual page lacks the rows or the keys"
    ok "the manual page formats cleanly and names the keys and the rows"
fi

# The installed copy, its sound going to a file: the battle and its music start about 2.5 s in,
# so the seconds from 3 to 6 must each be sound.
start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw" "$PREFIX/bin/sevenchips"
find_window
sleep 6
kill -0 "$PID" 2>/dev/null || fail "the installed program ended by itself"
python3 "$SRC/tests/e2e/audio.py" mix "$WORK/audio.raw" $((3 * 176400)) $((6 * 176400)) \
    $((3 * 176400)) $((6 * 176400)) || exit 1
quit_with_escape "the installed copy"
ok "the installed copy found its music, and Escape in battle ends it within a second, status 0"
[ ! -s "$WORK/err" ] || { echo "standard error:"; cat "$WORK/err"; }
echo PASS
