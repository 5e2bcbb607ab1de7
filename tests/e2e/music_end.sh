#!/bin/bash
# The battle music's pass ends with its sound, on the desktop and on the page. The game's
# watchdog restarts the piece once the music device says it has stopped: on the page, where the
# render ends; on the desktop, once the file's own length has played (music_watchdog.sh), where
# FluidSynth's player would say so only when the piece's last voice has stopped (a crash cymbal
# left ringing unheard keeps it going) and a fixed wait after that, for the reverb. That wait is
# measured here on a piece of one note whose sound is cut off at 1 s. bg1.mid, rendered
# at the desktop's gain, must end within a second of its last sound above -60 dBFS once that
# wait is taken off, and the page's render (tools/web/render-music.sh) within a second of it;
# both still about 74 s of music, at the level src/platform/common/mix_levels.hpp has it.
# Usage: music_end.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
. "$SRC/tests/e2e/common.inc"
SOUNDFONT=/usr/share/sounds/sf2/FluidR3_GM.sf2
command -v fluidsynth >/dev/null && [ -f "$SOUNDFONT" ] || { echo "SKIP: no fluidsynth or FluidR3_GM"; exit 77; }
volume=$(sed -n 's/.*kMusicVolume = \([0-9]*\);.*/\1/p' "$SRC/src/platform/common/mix_levels.hpp")
gain=$(awk -v v="$volume" 'BEGIN { printf "%.6f", v * 1.2 / 128 }')
render() { fluidsynth -ni -q -g "$gain" -T wav -F "$2" -r 44100 "$SOUNDFONT" "$1" >/dev/null 2>&1 || fail "fluidsynth: $1"; }
check() {  # WAIT_S FILE: the piece's length, level and ending
    sox "$2" -t raw -e signed -b 16 -c 2 -r 44100 "$WORK/piece.raw" || fail "sox could not read $2"
    python3 "$SRC/tests/e2e/audio.py" piece "$WORK/piece.raw" 74 -9 -23.6 "$1" || exit 1
}

# One piano note of a quarter second; all sound off and the track's end at 1 s (120 beats a
# minute, 480 ticks a beat).
printf 'MThd\0\0\0\6\0\0\0\1\1\340MTrk\0\0\0\25\0\300\0\0\220\74\144\201\160\200\74\0\205\120\260\170\0\0\377\57\0' >"$WORK/one.mid"
render "$WORK/one.mid" "$WORK/one.wav"
wait=$(soxi -D "$WORK/one.wav" | awk '{ printf "%.3f", $1 - 1 }')
echo "the desktop's: bg1.mid through FluidSynth at gain $gain"
render "$SRC/assets/bg/bg1.mid" "$WORK/desktop.wav"
check "$wait" "$WORK/desktop.wav"
echo "the page's: tools/web/render-music.sh"
bash "$SRC/tools/web/render-music.sh" "$SRC/assets/bg/bg1.mid" "$volume" "$WORK/page.ogg" || fail "render-music.sh failed"
check 0 "$WORK/page.ogg"
echo PASS
