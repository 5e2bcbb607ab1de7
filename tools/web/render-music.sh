#!/usr/bin/env bash
# Renders a MIDI piece for the page: by the synthesiser the desktop plays it with, FluidSynth
# with the FluidR3_GM soundfont, at the gain the desktop's music volume gives it (SDL_mixer:
# volume * 1.2 / 128), lowered if need be so that it peaks at -9 dBFS at most, as the desktop's
# mix has it: with the effects' peaks on top the sum stays below full scale.
# FluidSynth's player goes on for a fixed two seconds once the piece's last voice has stopped;
# the page plays the file once and then says the piece has ended, so that silence is cut off
# where the sound has fallen below -80 dBFS, with a fade of 50 ms.
# Usage: render-music.sh MID VOLUME OUT.ogg
set -euo pipefail
MID=$1 VOLUME=$2 OUT=$3
SOUNDFONT=/usr/share/sounds/sf2/FluidR3_GM.sf2  # MIT: the rendered music may be shipped

gain=$(awk -v v="$VOLUME" 'BEGIN { printf "%.6f", v * 1.2 / 128 }')
fluidsynth -ni -q -g "$gain" -T wav -F "$OUT.wav" -r 44100 "$SOUNDFONT" "$MID" >/dev/null
peak=$(sox "$OUT.wav" -n stat 2>&1 | awk '/Maximum amplitude|Minimum amplitude/ { v = $3 < 0 ? -$3 : $3; if (v > p) p = v } END { print p }')
gain=$(awk -v g="$gain" -v p="$peak" 'BEGIN { lim = 10 ^ (-9 / 20); if (p + 0 > lim) g = g * lim / p; printf "%.6f", g }')
fluidsynth -ni -q -g "$gain" -T wav -F "$OUT.wav" -r 44100 "$SOUNDFONT" "$MID" >/dev/null
sox "$OUT.wav" -t ogg -C 4 "$OUT.tmp" reverse silence 1 0.01 -80d fade t 0.05 reverse
rm -f "$OUT.wav"
mv "$OUT.tmp" "$OUT"
