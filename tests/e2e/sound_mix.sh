#!/bin/bash
# The mix: a minute of battle played with keys (cursor moves, pilots sent between rows and
# arriving, a pilot levelling up in the chicken row, the enemy's attacks) recorded through
# SDL's disk driver. Fails on any sample at full scale, on a peak above -1 dBFS and on music
# that is (nearly) silent for a whole second; prints the peak and the RMS. Then F12 saves a
# screenshot and M mutes, which the next run remembers.
# Usage: sound_mix.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=150
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
STARTED=$(date +%s%N)
export HOME=$WORK/home XDG_DATA_HOME=$WORK/home/data XDG_CONFIG_HOME=$WORK/home/config SEVENCHIPS_SEED=3
mkdir -p "$HOME"

# FILE FROM TO mix|silent: the sound between two lengths of the file.
analyse() {
    python3 - "$@" <<'EOF'
import array, math, sys
path, start, end, what = sys.argv[1], int(sys.argv[2]) // 4 * 4, int(sys.argv[3]) // 4 * 4, sys.argv[4]
s = array.array("h")
s.frombytes(open(path, "rb").read()[start:end])
db = lambda v: 20 * math.log10(max(v, 1e-9))
rms = lambda b: math.sqrt(sum(x * x for x in b) / max(len(b), 1)) / 32768
peak = max(max(s), -min(s)) / 32768
if what == "silent":
    if peak > 16 / 32768: sys.exit(f"FAIL: sound at {db(peak):.1f} dBFS where there should be none")
    sys.exit(print(f"ok: {len(s) / 88200:.1f} s of silence"))
second = 44100 * 2
rms_by_second = [rms(s[k:k + second]) for k in range(0, len(s) - second + 1, second)]
clipped = sum(1 for x in s if x >= 32767 or x <= -32767)
print(f"   {len(s) / second:.1f} s of battle: peak {db(peak):.2f} dBFS, RMS {db(rms(s)):.1f} dBFS,"
      f" quietest second {db(min(rms_by_second)):.1f} dBFS, {clipped} samples at full scale")
if clipped: sys.exit(f"FAIL: {clipped} samples at full scale")
if db(peak) > -1: sys.exit("FAIL: the peak is above -1 dBFS")
quiet = [i for i, r in enumerate(rms_by_second) if db(r) < -40]
if quiet: sys.exit(f"FAIL: the music is (nearly) silent in second {quiet[0]} of the battle")
print("ok: nothing clips, the peak stays at or below -1 dBFS, the music sounds every second")
EOF
}

AUDIO=$WORK/mix.raw
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$AUDIO "$BUILD/game/sevenchips" >"$WORK/out" 2>"$WORK/err" &
PID=$!
find_window
wait_for_battle "$AUDIO"
ok "the battle screen is up"
# Seconds into the battle, then keys: the middle pilot goes up into the chicken row and
# levels up there until the enemy knocks it out; others go down to sleep; the cursor roams.
PLAN=(
    0 "Up" 1 "Left Down" 2 "Left Down" 10 "Down Right Right Up" 20 "Left Down"
    30 "Right Right Right Up" 40 "Left Left Right Right" 50 "Left Up"
)
for ((i = 0; i < ${#PLAN[@]}; i += 2)); do
    while [ "$(ms_since "$BATTLE_T")" -lt $((PLAN[i] * 1000)) ]; do sleep 0.05; done
    xdotool key --delay 120 ${PLAN[i + 1]}
done
while [ "$(ms_since "$BATTLE_T")" -lt 60000 ]; do sleep 0.2; done
kill -0 "$PID" 2>/dev/null || fail "the game ended during the minute"
MUTE_AT=$(size_of "$AUDIO")
xdotool key F12 m
sleep 1.5
quit_with_escape "the minute of play" "$PID"
PID=
END_AT=$(size_of "$AUDIO")
[ ! -s "$WORK/err" ] || { cat "$WORK/err"; fail "the game wrote to standard error"; }
analyse "$AUDIO" "$BATTLE_AT" "$MUTE_AT" mix || exit 1
analyse "$AUDIO" $((MUTE_AT + 44100)) "$END_AT" silent || exit 1  # a quarter second after M
SHOT=$(sed -n "s|^sevenchips: screenshot saved as \($HOME/Pictures/sevenchips-.*\.png\)$|\1|p" "$WORK/out")
[ -n "$SHOT" ] && [ "$(wc -l <"$WORK/out")" = 1 ] || fail "F12 said: $(cat "$WORK/out")"
[ "$(identify -format '%wx%h %[fx:mean>0.05]' "$SHOT")" = "800x600 1" ] || fail "$SHOT is not the window"
ok "F12 saved the window's picture as $SHOT"
grep -qx "mute = true" "$XDG_CONFIG_HOME/sevenchips/settings" || fail "M was not remembered"

# The next run starts muted, also with a line in the settings file it cannot read.
echo "volume = 11" >>"$XDG_CONFIG_HOME/sevenchips/settings"
AUDIO=$WORK/muted.raw
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$AUDIO "$BUILD/game/sevenchips" >"$WORK/out" 2>"$WORK/err" &
PID=$!
find_window
wait_for_battle "$AUDIO"
xdotool key Up
sleep 1
quit_with_escape "the muted run" "$PID"
PID=
grep -q "settings.*line 4: unknown key" "$WORK/err" && [ "$(wc -l <"$WORK/err")" = 1 ] ||
    fail "the damaged settings file: $(cat "$WORK/err")"
analyse "$AUDIO" 0 "$(size_of "$AUDIO")" silent || exit 1
ok "the next run starts muted; the settings file's bad line is told in one line"
echo "PASS in $(ms_since "$STARTED") ms"
