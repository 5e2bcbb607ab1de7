#!/bin/bash
# The real program's watchdog restarts the music when the piece's own length has played, not
# when the synthesiser says it has ended (2 s after its last voice). A copy of the program plays
# a piece of 4 s (one note, then silence to the track's end) under the disk driver, whose time
# runs a little slower than the game's: the device says "stopped" after 4 to 5 s of the game's
# time, so the watchdog (every 3 s from the start) restarts it at 6 s and 12 s; at 9 s had it
# waited for the synthesiser.
# Usage: music_watchdog.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=60
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
ls /usr/share/sounds/sf2/{FluidR3_GM,TimGM6mb,default-GM}.sf2 2>/dev/null | grep -q . || { echo "SKIP: no soundfont"; exit 77; }
mkdir -p "$WORK/app/bg"
cp "$BUILD/game/sevenchips" "$WORK/app/"
# 120 beats a minute, 480 ticks a beat: a piano note for 1 s, the track's end at 4 s.
printf 'MThd\0\0\0\6\0\0\0\1\1\340MTrk\0\0\0\21\0\300\0\0\220\74\144\207\100\200\74\0\226\100\377\57\0' >"$WORK/app/bg/bg1.mid"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$WORK/audio.raw "$WORK/app/sevenchips" --trace "$WORK/trace.jsonl" \
    >"$WORK/out" 2>"$WORK/err" &
PID=$!
find_window
for _ in $(seq 250); do [ "$(grep -c '"seek","play"' "$WORK/trace.jsonl" 2>/dev/null)" -ge 2 ] && break; sleep 0.1; done
quit_with_escape "the short piece"
# The game's time of each restart from the piece's first play.
read -r first second _ <<<"$(grep '"music":\[[^]]*"play"' "$WORK/trace.jsonl" | sed 's/.*"ms":\([0-9]*\).*/\1/' |
    awk 'NR == 1 { t = $1; next } { printf "%d ", $1 - t }')"
echo "   restarted at ${first:-never} and ${second:-never} ms of the game's time after the first play"
[ "${first:-0}" -ge 5700 ] && [ "$first" -le 6400 ] && [ "${second:-0}" -ge 11700 ] && [ "$second" -le 12400 ] ||
    fail "not restarted at 6 s and 12 s, as the watchdog does when the piece's length has played"
ok "the watchdog restarts the 4 s piece at 6 s and 12 s"
echo PASS
