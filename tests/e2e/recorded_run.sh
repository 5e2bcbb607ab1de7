#!/bin/bash
# A game recorded in the real program and verified by the replay tool. Under Xvfb a session of
# over a minute is played with xdotool, with --record and --trace: moves that beat the first
# enemy, a pilot levelling up in the chicken row, the next enemy's attack, a pause with P and
# one by a lost focus. The replay tool then plays the recorded file: its trace must equal the
# window's but for the times, and its picture the window's last one. The session's sound,
# through SDL's disk driver, is the mix: no music before the battle, music every second of it,
# and music and effects together never above -1 dBFS. At its end F12 saves a screenshot and M
# mutes. Then the recording's first keys are watched with --play, muted as the settings file
# remembers (a bad line in it is told in one line). (A bad file for --play: run_link.sh. How well
# the window's battle clock keeps 100 ms is a figure of ./dev bench.)
# Usage: recorded_run.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=200
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
CLOCK=
trap '[ -n "$CLOCK" ] && kill "$CLOCK" 2>/dev/null; cleanup' EXIT
STARTED=$(date +%s%N)
# Seed 3, not the replay tool's 1: the replay must take the seed from the recording.
export SEVENCHIPS_SEED=3
TRACE=$WORK/run.jsonl AUDIO=$WORK/run.raw
ticks() { grep -c '"event":"tick"' "$TRACE"; }
lines() { wc -l <"$TRACE"; }
until_trace() {  # PATTERN SECONDS: waits for a trace line that matches
    for _ in $(seq $(($2 * 10))); do grep -q "$1" "$TRACE" && return 0; sleep 0.1; done
    fail "no trace line with $1 within $2 s"
}
until_tick() { until_trace "\"event\":\"tick\",\"tick\":$1," "$2"; }
untimed() { sed 's/"ms":[0-9]*,//' "$@"; }
# Paused: for a second no tick comes, the arrows do nothing, the window stands still and shows
# the sign (the pause mark's two bars, white), and the sound is silent.
check_paused() {  # LABEL
    local n a0
    sleep 0.3
    n=$(lines) a0=$(size_of "$AUDIO")
    shot "$WORK/p0.png"
    xdotool key Up Left
    sleep 1
    shot "$WORK/p1.png"
    [ "$(lines)" = "$n" ] || fail "$1: a tick or a key was handled while paused"
    same "$WORK/p0.png" "$WORK/p1.png" || fail "$1: the window changed while paused ($(kept))"
    for x in 384 404; do
        [ "$(convert "$WORK/p0.png" -crop "12x38+$((X + x))+$((Y + 243))" -format '%[fx:minima]' info:)" = 1 ] ||
            fail "$1: no pause sign ($(kept))"
    done
    python3 -c "import array,sys; s=array.array('h', open(sys.argv[1],'rb').read()[int(sys.argv[2])//4*4:][:80000])
sys.exit(len(s) < 40000 or max(map(abs, s)) > 16)" "$AUDIO" "$a0" || fail "$1: sound while paused"
    ok "$1: the sign shows; no tick, no key, no sound for a second"
}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$AUDIO "$BUILD/game/sevenchips" --record "$WORK/run.keys" \
    --trace "$TRACE" >"$WORK/out" 2>"$WORK/err" &
PID=$!
find_window
wait_for_battle "$AUDIO"
until_trace '"event":"start"' 10
# Pilots 2 and 4 to the short row: the first enemy falls at about the 134th tick.
xdotool key --delay 60 Left Up Right Right Up
until_tick 30 10
PAUSED_AT=$(size_of "$AUDIO")
xdotool key p
check_paused "P"
python3 "$SRC/tests/e2e/audio.py" music "$AUDIO" "$SIGN_AT" "$BATTLE_AT" "$PAUSED_AT" || exit 1
xdotool key p  # the battle goes on: the first enemy falls
until_trace '"EnemyNo":1,' 20
# Pilot 6 up to the chicken row, in two steps: it levels up there every 32 ticks.
xdotool key --delay 60 Right Right Up
until_tick $(($(ticks) + 16)) 5
xdotool key Up
until_trace '"event":"tick".*"sounds":\[5\]' 10
ok "the first enemy fell, a pilot levelled up"
xclock 2>/dev/null &
CLOCK=$!
for _ in $(seq 50); do CW=$(xdotool search --name xclock 2>/dev/null | head -1); [ -n "$CW" ] && break; sleep 0.1; done
xdotool windowfocus --sync "$CW" 2>/dev/null
check_paused "focus lost"
xdotool windowfocus --sync "$WIN" 2>/dev/null
kill "$CLOCK"
CLOCK=
n=$(lines)
sleep 0.5
[ "$(lines)" = "$n" ] || fail "the focus came back and the battle went on by itself"
ok "the focus back, it stays paused until P"
xdotool key p
RESUMED_AT=$(size_of "$AUDIO")
until_trace '"sounds":\[7,6' 40
ok "the enemy attacked at tick $(ticks)"
# Out of the chicken row: no more level-ups, so the last picture is one of a plain tick.
until_tick 510 10
xdotool key Down
until_tick 550 10
k0=$(ticks)
shot "$WORK/s.png"
k1=$(($(ticks) + 1))
MUTED_AT=$(size_of "$AUDIO")
xdotool key F12 m
sleep 1.2
END_AT=$(size_of "$AUDIO")
xdotool mousemove $((X + 400)) $((Y + 300)) click 1
for _ in $(seq 20); do kill -0 "$PID" 2>/dev/null || break; sleep 0.05; done
wait "$PID" || fail "exit status $? after the click"
PID=
[ ! -s "$WORK/err" ] || fail "the session wrote to standard error: $(cat "$WORK/err")"
# (The click that ended it must be recorded: else the replay's trace would not end where the window's does.)
N=$(tail -1 "$WORK/run.keys" | cut -d' ' -f1)
[ "$(ms_since "$STARTED")" -ge 60000 ] || fail "the session lasted less than a minute"
ok "$(grep -c '^[0-9]' "$WORK/run.keys") keys recorded, the click at tick $N, $(ms_since "$STARTED") ms in"
python3 "$SRC/tests/e2e/audio.py" mix "$AUDIO" "$BATTLE_AT" "$MUTED_AT" "$RESUMED_AT" "$MUTED_AT" || exit 1
python3 "$SRC/tests/e2e/audio.py" silent "$AUDIO" $((MUTED_AT + 44100)) "$END_AT" >/dev/null || fail "sound after M"
SHOT=$(sed -n "s|^sevenchips: screenshot saved as \($HOME/Pictures/sevenchips-.*\.png\)$|\1|p" "$WORK/out")
[ -n "$SHOT" ] && [ "$(wc -l <"$WORK/out")" = 1 ] || fail "F12 said: $(cat "$WORK/out")"
[ "$(identify -format '%wx%h %[fx:mean>0.05]' "$SHOT")" = "800x600 1" ] || fail "$SHOT is not the window"
ok "M silenced the game; F12 saved the window's picture as $SHOT"

# The replay tool plays the file: the same trace but for the times, and the window's last
# picture is the replay tool's at a tick of the screenshot's time.
shots=()
for t in $(seq "$k0" "$k1"); do shots+=(--shot "$t:$WORK/r$t.png"); done
"$BUILD/game/sevenchips-replay" --keys "$WORK/run.keys" --app-dir "$BUILD/game" --data-dir "$WORK/data" \
    --trace "$WORK/replay.jsonl" "${shots[@]}" >/dev/null || fail "the replay tool refused the recording"
diff <(untimed "$TRACE") <(untimed "$WORK/replay.jsonl") >"$WORK/diff" ||
    fail "the replay's trace differs from the window's: $(head -c 600 "$WORK/diff")"
convert "$WORK/s.png" -crop "800x600+$X+$Y" +repage "$WORK/w.png"
seen=
for t in $(seq "$k0" "$k1"); do same "$WORK/w.png" "$WORK/r$t.png" && seen=$t && break; done
[ -n "$seen" ] || fail "the window's last picture is none of the replay's at ticks $k0 to $k1 ($(kept))"
ok "the replay's trace equals the window's ($(lines) lines) but for the times; its picture at tick $seen is the window's"

# Watching the recording's first keys: the player's own keys are ignored, Escape leaves. The
# game starts muted, as M left it, with a line of the settings file that it cannot read.
grep -m 6 -v '^#' "$WORK/run.keys" >"$WORK/short.keys"
echo "volume = 11" >>"$XDG_CONFIG_HOME/sevenchips/settings"
TRACE=$WORK/play.jsonl AUDIO=$WORK/play.raw
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$AUDIO "$BUILD/game/sevenchips" --play "$WORK/short.keys" --trace "$TRACE" \
    2>"$WORK/err" &
PID=$!
find_window
until_tick 15 10
xdotool key Right Up Down
until_tick 25 5
quit_with_escape "--play" "$PID"
PID=
T=$(ticks)
"$BUILD/game/sevenchips-replay" --keys "$WORK/short.keys" --ticks "$T" --app-dir "$BUILD/game" \
    --data-dir "$WORK/data" --trace "$WORK/replay.jsonl" >/dev/null
diff <(head -n -2 "$TRACE" | untimed) <(head -n -1 "$WORK/replay.jsonl" | untimed) >/dev/null ||
    fail "--play did not give the replay tool's game"
ok "--play: the file's keys at their ticks, the player's ignored, Escape leaves (at tick $T)"
grep -q "settings.*line 4: unknown key" "$WORK/err" && [ "$(wc -l <"$WORK/err")" = 1 ] ||
    fail "the damaged settings file: $(cat "$WORK/err")"
python3 "$SRC/tests/e2e/audio.py" silent "$AUDIO" >/dev/null || fail "the next run is not muted"
ok "the next run starts muted; the settings file's bad line is told in one line"
echo "PASS in $(ms_since "$STARTED") ms"
