#!/bin/bash
# The mix: a minute of battle played with keys (cursor moves, pilots sent between rows and
# arriving, a pilot levelling up in the chicken row, the enemy's attacks) recorded through
# SDL's disk driver. Fails on a peak above -1 dBFS (so on any sample at full scale), on music
# before the battle or (nearly) silent for a whole second of it; prints the peak and the RMS.
# Then F12 saves a screenshot and M mutes, which the next run remembers.
# Usage: sound_mix.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=150
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
STARTED=$(date +%s%N)
export HOME=$WORK/home XDG_DATA_HOME=$WORK/home/data XDG_CONFIG_HOME=$WORK/home/config SEVENCHIPS_SEED=3
mkdir -p "$HOME"

# FILE FROM TO: the sound between two lengths of the file, in dBFS: its peak, its RMS and the
# RMS of its quietest second; then its largest sample, of full scale.
levels() {
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n trim "$(($2 / 4))s" "=$(($3 / 4))s" stats -w 1 2>&1 | awk '
        /^Min level/ { m = -$3 } /^Max level/ { x = $3 } /^Pk lev dB/ { p = $4 } /^RMS lev dB/ { r = $4 }
        /^RMS Tr dB/ { t = $4 } END { print p, r, t, (m > x ? m : x) }'
}
silent() {  # FILE FROM TO: nothing above -66 dBFS
    local p
    read -r _ _ _ p <<<"$(levels "$@")"
    awk -v p="$p" 'BEGIN { exit !(p != "" && p <= 16 / 32768) }'
}

AUDIO=$WORK/mix.raw
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$AUDIO "$BUILD/game/sevenchips" >"$WORK/out" 2>"$WORK/err" &
PID=$!
find_window
wait_for_battle "$AUDIO"
# Seconds into the battle, then keys: the middle pilot goes up into the chicken row and
# levels up there until the enemy knocks it out; others go down to sleep; the cursor roams.
PLAN=(0 "Up" 1 "Left Down" 2 "Left Down" 10 "Down Right Right Up" 20 "Left Down"
    30 "Right Right Right Up" 40 "Left Left Right Right" 50 "Left Up")
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
read -r PEAK RMS QUIET _ <<<"$(levels "$AUDIO" "$BATTLE_AT" "$MUTE_AT")"
echo "   the minute of battle: peak $PEAK dBFS, RMS $RMS dBFS, the quietest second $QUIET dBFS"
awk -v p="$PEAK" 'BEGIN { exit !(p != "" && p <= -1) }' || fail "the peak is above -1 dBFS: the mix clips, or nearly"
ok "nothing clips: the peak stays at or below -1 dBFS"
python3 "$SRC/tests/e2e/audio.py" music "$AUDIO" "$SIGN_AT" "$BATTLE_AT" "$MUTE_AT" || exit 1
silent "$AUDIO" $((MUTE_AT + 44100)) "$END_AT" || fail "sound after M"
SHOT=$(sed -n "s|^sevenchips: screenshot saved as \($HOME/Pictures/sevenchips-.*\.png\)$|\1|p" "$WORK/out")
[ -n "$SHOT" ] && [ "$(wc -l <"$WORK/out")" = 1 ] || fail "F12 said: $(cat "$WORK/out")"
[ "$(identify -format '%wx%h %[fx:mean>0.05]' "$SHOT")" = "800x600 1" ] || fail "$SHOT is not the window"
ok "F12 saved the window's picture as $SHOT"

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
silent "$AUDIO" 0 "$(size_of "$AUDIO")" || fail "the next run is not muted"
ok "the next run starts muted; the settings file's bad line is told in one line"
echo "PASS in $(ms_since "$STARTED") ms"
