#!/bin/bash
# A short session of the real program as a player plays it, driven with xdotool under Xvfb:
# the start-up, pilots selected and sent down and up, the enemy's first attack, Escape. The
# window is compared with what the replay tool draws for the same seed and keys, and the sound
# the program writes through SDL's disk driver is measured: silence before the battle, the
# music after it.
# Usage: play_session.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=90
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
STARTED=$(date +%s%N)
export SEVENCHIPS_SEED=3
KEYS=(Right Down Left Left Left Down Left Up)  # pilots 4 and 1 down a row, pilot 0 up one

# What the replay tool draws for the same seed and keys: the settled moves before the attack
# and after it, each in both of the chips' frames.
# Made while the program starts.
printf '1 %s\n' "${KEYS[@]}" >"$WORK/session.keys"
(
    "$BUILD/game/sevenchips-replay" --seed "$SEVENCHIPS_SEED" --keys "$WORK/session.keys" --ticks 147 \
        --app-dir "$BUILD/game" --data-dir "$WORK/data" --shot 60:"$WORK/pre0.png" --shot 61:"$WORK/pre1.png" \
        --shot 146:"$WORK/post0.png" --shot 147:"$WORK/post1.png" >/dev/null || exit 1
    for f in pre0 pre1 post0 post1; do masked "$WORK/$f.png" "$WORK/$f.png"; done
    ! same "$WORK/pre0.png" "$WORK/pre1.png" && ! same "$WORK/pre0.png" "$WORK/post0.png" &&
        ! same "$WORK/pre1.png" "$WORK/post1.png"
) &
REFERENCES=$!

# 1. The whole program with its music.
AUDIO=$WORK/session.raw
start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$AUDIO"
find_window
wait_for_battle "$AUDIO"
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

# 2. The enemy strikes at the 141st tick.
attack=
for _ in $(seq 150); do
    shot "$WORK/s.png"
    seen=$(which_of "$WORK/s.png" "$WORK/post0.png" "$WORK/post1.png")
    if [ -n "$seen" ]; then attack=$(ms_since "$BATTLE_T"); break; fi
    [ "$(ms_since "$BATTLE_T")" -gt 24000 ] && break
    sleep 0.1
done
[ -n "$attack" ] || fail "no attack: the window never showed the replay tool's picture after it ($(kept))"
[ "$attack" -ge 13500 ] || fail "the attack came $attack ms into the battle, before the 141st tick"
# Past its 700 the gauge would be full (100 pixels) had the attack not emptied it.
g3=$(gauge "$WORK/s.png")
[ "$g3" -ge 0 ] && [ "$g3" -lt 100 ] || fail "the gauge did not start again after the attack ($g3 pixels)"
ok "the enemy struck $attack ms into the battle: hit points, faces and panels as the replay tool has them, the gauge anew ($g3 pixels)"
sleep 0.3
quit_with_escape "the session"
END_AT=$(size_of "$AUDIO")
ok "Escape ends it within a second, status 0"
[ ! -s "$WORK/err" ] || { cat "$WORK/err"; fail "the session wrote to standard error"; }
python3 "$SRC/tests/e2e/audio.py" music "$AUDIO" "$SIGN_AT" "$BATTLE_AT" "$END_AT" || exit 1
echo "PASS in $(ms_since "$STARTED") ms"
