#!/usr/bin/env bash
# On a large screen the window opens at 2x with crisp pixels; resized, it keeps the aspect
# with black bars.
set -u
BUILD=$1; SRC=$2
OUT=$BUILD/e2e; mkdir -p "$OUT"
export SDL_AUDIODRIVER=dummy
exec timeout 60 xvfb-run -a -s "-screen 0 2560x1440x24" bash -c '
set -u
. "'"$SRC"'/tests/e2e/common.inc"
OUT="'"$OUT"'"
"'"$BUILD"'/game/sevenchips" & pid=$!
wid=$(find_window) || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" = 1600 ] && [ "$HEIGHT" = 1200 ] || fail "window is ${WIDTH}x${HEIGHT}, not 1600x1200"
sleep 4; shot "$OUT/scaled2x.png"
# Every picture pixel is a 2x2 block: compare a few blocks inside the field.
for p in "300 300" "500 200" "101 457"; do
  set -- $p
  a=$(pixel "$OUT/scaled2x.png" $((X+2*$1)) $((Y+2*$2)))
  b=$(pixel "$OUT/scaled2x.png" $((X+2*$1+1)) $((Y+2*$2+1)))
  [ "$a" = "$b" ] || fail "pixel ($1,$2) is not a 2x2 block: $a vs $b"
done
echo "ok: opened at 2x with whole pixels"
xdotool windowsize "$wid" 1900 1000; sleep 1.5
eval "$(xdotool getwindowgeometry --shell "$wid")"
shot "$OUT/scaled.png"
# 1900x1000 holds the picture once: bars left and right of an 800x600 picture.
[ "$(pixel "$OUT/scaled.png" $((X+10)) $((Y+HEIGHT/2)))" = "0,0,0" ] || fail "no black bar at the left"
cx=$(( (WIDTH-800)/2 )); cy=$(( (HEIGHT-600)/2 ))
[ "$(pixel "$OUT/scaled.png" $((X+cx+16+5)) $((Y+cy+12+300)))" != "0,0,0" ] || fail "the picture is not centred"
echo "ok: resized window keeps the picture centred with bars"
xdotool key --window "$wid" Escape
for _ in $(seq 1 10); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
wait $pid; status=$?
[ $status = 0 ] || fail "exit status $status after Escape"
echo "ok: Escape ended it with status 0"
'
