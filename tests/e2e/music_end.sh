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
MID=$SRC/assets/bg/bg1.mid
volume=$(sed -n 's/.*kMusicVolume = \([0-9]*\);.*/\1/p' "$SRC/src/platform/common/mix_levels.hpp")
gain=$(awk -v v="$volume" 'BEGIN { printf "%.6f", v * 1.2 / 128 }')
render() {  # MID WAV
    fluidsynth -ni -q -g "$gain" -T wav -F "$2" -r 44100 "$SOUNDFONT" "$1" >/dev/null 2>&1 || fail "fluidsynth could not render $1"
}
raw() { sox "$1" -t raw -e signed -b 16 -c 2 -r 44100 "$2" || fail "sox could not read $1"; }  # FILE RAW

# One piano note of a quarter second; all sound off and the track's end at 1 s (120 beats a
# minute, 480 ticks a beat).
printf 'MThd\0\0\0\6\0\0\0\1\1\340MTrk\0\0\0\25\0\300\0\0\220\74\144\201\160\200\74\0\205\120\260\170\0\0\377\57\0' >"$WORK/one.mid"
render "$WORK/one.mid" "$WORK/one.wav"
wait=$(soxi -D "$WORK/one.wav" | awk '{ printf "%.3f", $1 - 1 }')
echo "   FluidSynth's player goes on for $wait s once the last voice has stopped"

echo "the desktop's: $MID through FluidSynth at gain $gain"
render "$MID" "$WORK/desktop.wav"
raw "$WORK/desktop.wav" "$WORK/desktop.raw"
python3 "$SRC/tests/e2e/audio.py" ending "$WORK/desktop.raw" "$wait" || exit 1
python3 "$SRC/tests/e2e/audio.py" piece "$WORK/desktop.raw" 74 -9 -23.6 || exit 1

echo "the page's: tools/web/render-music.sh"
bash "$SRC/tools/web/render-music.sh" "$MID" "$volume" "$WORK/page.ogg" || fail "render-music.sh failed"
raw "$WORK/page.ogg" "$WORK/page.raw"
python3 "$SRC/tests/e2e/audio.py" ending "$WORK/page.raw" 0 || exit 1
python3 "$SRC/tests/e2e/audio.py" piece "$WORK/page.raw" 74 -9 -23.6 || exit 1
echo PASS
