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
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || { cat "$WORK/install.log"; fail "cmake --install failed"; }
for f in bin/sevenchips bin/sevenchips-replay share/sevenchips/bg/bg1.mid share/sevenchips/se/se1.wav \
         share/sevenchips/se/se10.wav share/applications/io.github.sevenchips.SevenChips.desktop \
         share/icons/hicolor/64x64/apps/sevenchips.png share/man/man6/sevenchips.6; do
    [ -s "$PREFIX/$f" ] || fail "$f is not installed"
done
[ -x "$PREFIX/bin/sevenchips" ] || fail "bin/sevenchips is not executable"
ok "installed: bin/, share/sevenchips/{bg,se}, the desktop entry, the icon, the manual page"

grep -qx 'Name=Seven Chips' "$PREFIX/share/applications/io.github.sevenchips.SevenChips.desktop" || fail "desktop entry: no Name=Seven Chips"
grep -qx 'Exec=sevenchips' "$PREFIX/share/applications/io.github.sevenchips.SevenChips.desktop" || fail "desktop entry: no Exec=sevenchips"
grep -qx 'Icon=sevenchips' "$PREFIX/share/applications/io.github.sevenchips.SevenChips.desktop" || fail "desktop entry: no Icon=sevenchips"
grep -qx 'Categories=Game;ArcadeGame;' "$PREFIX/share/applications/io.github.sevenchips.SevenChips.desktop" || fail "desktop entry: categories"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$PREFIX/share/applications/io.github.sevenchips.SevenChips.desktop" || fail "desktop-file-validate complains"
    ok "desktop-file-validate accepts the entry"
else
    ok "the desktop entry has Name, Exec, Icon and Categories (desktop-file-validate is not installed)"
fi
[ "$(identify -format '%wx%h' "$PREFIX/share/icons/hicolor/64x64/apps/sevenchips.png")" = 64x64 ] || fail "the icon is not 64x64"
grep -qF "$PREFIX/share/sevenchips/se/da.txt" "$PREFIX/share/man/man6/sevenchips.6" || fail "the manual page does not name this install's clear file"
if command -v man >/dev/null; then
    warnings=$(MANWIDTH=80 man --warnings -l "$PREFIX/share/man/man6/sevenchips.6" 2>&1 >"$WORK/man.txt")
    [ -z "$warnings" ] || fail "the manual page has formatting warnings: $warnings"
    grep -q 'スリーピング' "$WORK/man.txt" && grep -q 'Escape' "$WORK/man.txt" || fail "the manual page lacks the rows or the keys"
    ok "the manual page formats cleanly and names the keys and the rows"
fi

# Run the installed copy, its sound going to a file.
AUDIO=$WORK/audio.raw
start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$AUDIO" "$PREFIX/bin/sevenchips"
find_window
sleep 6
kill -0 "$PID" 2>/dev/null || fail "the installed program ended by itself"

# 44.1 kHz, 16-bit, stereo, as the mixer is opened. The battle starts about 2.5 s in; the
# seconds from 3 to 6 must each be sound (the music), not silence.
[ -s "$AUDIO" ] || fail "no audio was written"
for s in 3 4 5; do
    rms=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$AUDIO" -n trim $s 1 stat 2>&1 | awk '/RMS +amplitude/ { print $3 }')
    [ -n "$rms" ] || fail "no audio for second $s (file of $(size_of "$AUDIO") bytes)"
    awk -v r="$rms" 'BEGIN { exit !(r > 0.005) }' || fail "second $s of the audio is silent (RMS $rms)"
    echo "   second $s: RMS amplitude $rms"
done
ok "the installed copy found its music: seconds 3 to 5 of the battle are sound"
quit_with_escape "the installed copy"
ok "Escape in battle ends it within a second, status 0"
if [ -s "$WORK/err" ]; then echo "standard error:"; cat "$WORK/err"; fi
echo PASS
