#!/usr/bin/env bash
# The real program under Xvfb: the signboard and the logo, the battle screen, a move, and a
# click that ends it with status 0.
set -u
BUILD=$1; SRC=$2
OUT=$BUILD/e2e; mkdir -p "$OUT"
export SDL_AUDIODRIVER=dummy
exec timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
set -u
. "'"$SRC"'/tests/e2e/common.inc"
OUT="'"$OUT"'"
"'"$BUILD"'/game/sevenchips" & pid=$!
wid=$(find_window) || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || fail "window is ${WIDTH}x${HEIGHT}, not 800x600 (1x on a 1024x768 screen)"
sleep 0.8; shot "$OUT/startup.png"
# The signboard at (224, 182) of the surface and the logo at (352, 310), window corner (X, Y).
[ "$(pixel "$OUT/startup.png" $((X+16+224+160)) $((Y+12+182+48)))" != "0,0,0" ] || fail "no signboard"
[ "$(pixel "$OUT/startup.png" $((X+16+352+32)) $((Y+12+310+32)))" != "0,0,0" ] || fail "no logo"
[ "$(pixel "$OUT/startup.png" $((X+16+100)) $((Y+12+100)))" = "0,0,0" ] || fail "start-up screen not black around the signboard"
echo "ok: signboard and logo shown"
sleep 3; shot "$OUT/battle.png"
[ "$(pixel "$OUT/battle.png" $((X+16+5)) $((Y+12+300)))" != "0,0,0" ] || fail "no frame at the battle start"
[ "$(pixel "$OUT/battle.png" $((X+5)) $((Y+5)))" = "0,0,0" ] || fail "window border not black"
echo "ok: battle screen composed"
xdotool key --window "$wid" Up
sleep 2
shot "$OUT/moved.png"
cmp -s "$OUT/battle.png" "$OUT/moved.png" && fail "nothing changed after a key"
xdotool mousemove $((X+400)) $((Y+300)) click 1
for _ in $(seq 1 10); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && { kill $pid; fail "still running a second after the click"; }
wait $pid; status=$?
[ $status = 0 ] || fail "exit status $status"
echo "ok: a click ended it with status 0"
'
