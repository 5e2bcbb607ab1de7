#!/bin/bash
# A short session of the real program as a player plays it, driven with xdotool under Xvfb:
# the start-up, pilots selected and sent down and up, the enemy's first attack, Escape. The
# window is compared with what the replay tool draws for the same seed and keys, and the sound
# the program writes through SDL's disk driver is measured: silence before the battle, the
# music after it. A second copy, beside its effects only and on a second X server, runs
# while the first waits for the attack: in battle it is silent but for each key's effect.
# Usage: play_session.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=90
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
PID2=
XVFB2=
trap '[ -n "$PID2" ] && kill "$PID2" 2>/dev/null; [ -n "$XVFB2" ] && kill "$XVFB2" 2>/dev/null; cleanup' EXIT
DISPLAY1=$DISPLAY
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display2" 2>/dev/null &
XVFB2=$!
STARTED=$(date +%s%N)
export HOME=$WORK/home XDG_DATA_HOME=$WORK/home/data SEVENCHIPS_SEED=3
mkdir -p "$HOME"
KEYS=(Right Down Left Left Left Down Left Up)  # pilots 4 and 1 down a row, pilot 0 up one

# What the replay tool draws for the same seed and keys: the settled moves before the attack
# and after it, each in both of the chips' frames, and the first battle ticks with no key.
# Made while the program starts.
printf '1 %s\n' "${KEYS[@]}" >"$WORK/session.keys"
(
    "$BUILD/game/sevenchips-replay" --seed "$SEVENCHIPS_SEED" --keys "$WORK/session.keys" --ticks 147 \
        --app-dir "$BUILD/game" --data-dir "$WORK/data" --shot 60:"$WORK/pre0.png" --shot 61:"$WORK/pre1.png" \
        --shot 146:"$WORK/post0.png" --shot 147:"$WORK/post1.png" >/dev/null &&
    "$BUILD/game/sevenchips-replay" --seed "$SEVENCHIPS_SEED" --ticks 4 --app-dir "$BUILD/game" \
        --data-dir "$WORK/data" --shot 3:"$WORK/idle0.png" --shot 4:"$WORK/idle1.png" >/dev/null || exit 1
    for f in pre0 pre1 post0 post1 idle0 idle1; do masked "$WORK/$f.png" "$WORK/$f.png"; done
    ! same "$WORK/pre0.png" "$WORK/pre1.png" && ! same "$WORK/pre0.png" "$WORK/post0.png" &&
        ! same "$WORK/pre1.png" "$WORK/post1.png"
) &
REFERENCES=$!

# 1. The whole program with its music.
AUDIO=$WORK/session.raw
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$AUDIO "$BUILD/game/sevenchips" >"$WORK/out" 2>"$WORK/err" &
PID=$!
find_window
WIN1=$WIN X1=$X Y1=$Y
wait_for_battle "$AUDIO"
SIGN1_AT=$SIGN_AT BATTLE1_AT=$BATTLE_AT BATTLE1_T=$BATTLE_T
ok "the signboard, then the battle screen"
xdotool key --delay 40 "${KEYS[@]}"
wait "$REFERENCES" || fail "the replay tool's pictures could not be made, or do not tell the moments apart"
seen=
for _ in $(seq 40); do
    shot "$WORK/s.png"
    seen=$(which_of "$WORK/s.png" "$WORK/pre0.png" "$WORK/pre1.png")
    [ -n "$seen" ] && break
    sleep 0.1
done
[ -n "$seen" ] || fail "after the keys the window never showed what the replay tool draws ($(kept))"
g1=$(gauge "$WORK/s.png") SETTLED_T=$(date +%s%N)
ok "after ${#KEYS[@]} keys the window is the replay tool's picture ($seen): frame, panels, faces, the chips in their new rows"

while [ "$(ms_since "$SETTLED_T")" -lt 3000 ]; do sleep 0.1; done
shot "$WORK/s.png"
seen=$(which_of "$WORK/s.png" "$WORK/pre0.png" "$WORK/pre1.png")
[ -n "$seen" ] || fail "3 s later the window is not the replay tool's picture any more ($(kept))"
g2=$(gauge "$WORK/s.png")
[ "$g1" -gt 0 ] && [ "$g2" -ge $((g1 + 10)) ] || fail "the enemy's gauge did not fill: $g1 then $g2 pixels"
ok "the enemy's gauge fills: $g1 pixels, then $g2 three seconds later; nothing else changes"

# 2. Meanwhile a copy beside its effects only, on the second X server: in battle nothing
# sounds but each key's effect.
for _ in $(seq 50); do [ -s "$WORK/display2" ] && break; sleep 0.1; done
[ -s "$WORK/display2" ] || fail "the second X server did not start"
export DISPLAY=:$(cat "$WORK/display2")
mkdir -p "$WORK/effects-only"
cp "$BUILD/game/sevenchips" "$WORK/effects-only/"
cp -r "$BUILD/game/se" "$WORK/effects-only/se"
AUDIO=$WORK/effects.raw
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$AUDIO "$WORK/effects-only/sevenchips" >"$WORK/out2" 2>"$WORK/err2" &
PID2=$!
find_window
wait_for_battle "$AUDIO"
seen=
for _ in $(seq 10); do
    seen=$(which_of "$WORK/s.png" "$WORK/idle0.png" "$WORK/idle1.png")
    [ -n "$seen" ] && break
    shot "$WORK/s.png"
done
[ -n "$seen" ] || fail "without bg/ the battle screen is not the replay tool's ($(kept))"
ok "without bg/ the battle screen is the same ($seen)"
sleep 0.3
marks=()
for key in Right Up; do  # the cursor's effect (70 ms), then the move's (200 ms)
    before=$(size_of "$AUDIO")
    xdotool key "$key"
    after=$(size_of "$AUDIO")
    marks+=("$before" "$after")
    [ "$key" = Right ] && marks+=(3 11) || marks+=(15 26)
    sleep 0.5
done
quit_with_escape "without bg/" "$PID2"
PID2=
[ ! -s "$WORK/err2" ] || { cat "$WORK/err2"; fail "without bg/ the program wrote to standard error"; }
python3 "$SRC/tests/e2e/audio.py" effects "$AUDIO" "$BATTLE_AT" "${marks[@]}" || exit 1
ok "without bg/ the program plays silently but for its effects and ends on Escape with status 0"

# 3. Back on the first X server: the enemy strikes at the 141st tick.
export DISPLAY=$DISPLAY1
WIN=$WIN1 X=$X1 Y=$Y1 AUDIO=$WORK/session.raw
attack=
for _ in $(seq 150); do
    shot "$WORK/s.png"
    seen=$(which_of "$WORK/s.png" "$WORK/post0.png" "$WORK/post1.png")
    if [ -n "$seen" ]; then attack=$(ms_since "$BATTLE1_T"); break; fi
    [ "$(ms_since "$BATTLE1_T")" -gt 24000 ] && break
    sleep 0.1
done
[ -n "$attack" ] || fail "no attack: the window never showed the replay tool's picture after it ($(kept))"
[ "$attack" -ge 13500 ] || fail "the attack came $attack ms into the battle, before the 141st tick"
# Past its 700 the gauge would be full (100 pixels) had the attack not emptied it.
g3=$(gauge "$WORK/s.png")
[ "$g3" -ge 0 ] && [ "$g3" -lt 100 ] || fail "the gauge did not start again after the attack ($g3 pixels)"
ok "the enemy struck $attack ms into the battle: hit points, faces and panels as the replay tool has them, the gauge anew ($g3 pixels)"
sleep 0.3
quit_with_escape "the session" "$PID"
PID=
END_AT=$(size_of "$AUDIO")
ok "Escape ends it within a second, status 0"
[ ! -s "$WORK/err" ] || { cat "$WORK/err"; fail "the session wrote to standard error"; }
python3 "$SRC/tests/e2e/audio.py" music "$AUDIO" "$SIGN1_AT" "$BATTLE1_AT" "$END_AT" || exit 1
echo "PASS in $(ms_since "$STARTED") ms"
