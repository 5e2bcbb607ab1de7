#!/bin/bash
# Scaling: on a 2560 x 1440 screen the window opens at 2x (1600 x 1200) with every picture
# pixel a 2 x 2 block; made 1920 x 1080, where 2x does not fit, it shows the picture at 1x in
# the middle with black bars. (On a screen too small for 2x it opens at 1x: startup_window.sh.)
# Keeps BUILD_DIR/e2e/scaled*.png.
# Usage: scaled_window.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=60 E2E_SCREEN=2560x1440
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
KANBAN=$SRC/assets/pictures/kanban.png
# Waits until PICTURE shows at (X, Y) of the screen; the screenshot stays in $WORK/s.png.
wait_for() {  # X Y PICTURE TRIES
    for _ in $(seq "$4"); do
        shot "$WORK/s.png"
        [ "$(region_diff "$WORK/s.png" "$1" "$2" "$3")" = 0 ] && return 0
        sleep 0.1
    done
    return 1
}
mkdir -p "$BUILD/e2e"
start_game
find_window
[ "${WIDTH}x$HEIGHT" = 1600x1200 ] || fail "window is ${WIDTH}x${HEIGHT}, not 1600x1200"
convert "$KANBAN" -sample 200% "$WORK/kanban2.png"
wait_for $((X + 2 * 240)) $((Y + 2 * 194)) "$WORK/kanban2.png" 60 || fail "the signboard never showed doubled at window (480, 388)"
[ "$(mean_of "$WORK/s.png" "1600x24+$X+$Y")" = 0 ] || fail "the doubled border strip is not black"
cp "$WORK/s.png" "$BUILD/e2e/scaled-2x.png"
ok "the window opens at 2x, 1600x1200: the signboard with every pixel a 2x2 block at (480, 388), the border strip black"
xdotool windowmove --sync "$WIN" 0 0
xdotool windowsize --sync "$WIN" 1920 1080
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$WIN")"
[ "${WIDTH}x$HEIGHT" = 1920x1080 ] || fail "resized window is ${WIDTH}x${HEIGHT}"
wait_for $((X + 800)) $((Y + 434)) "$KANBAN" 10 || fail "after the resize the signboard is not 1x at window (800, 434)"
for _ in $(seq 60); do wait_for $((X + 800)) $((Y + 434)) "$KANBAN" 1 || break; done
sleep 0.5
shot "$WORK/s.png"
cp "$WORK/s.png" "$BUILD/e2e/scaled.png"
for bar in "560x1080+$X+$Y" "560x1080+$((X + 1360))+$Y" "800x240+$((X + 560))+$Y" "800x240+$((X + 560))+$((Y + 840))"; do
    [ "$(mean_of "$WORK/s.png" "$bar")" = 0 ] || fail "the bar $bar is not black"
done
m=$(mean_of "$WORK/s.png" "768x576+$((X + 576))+$((Y + 252))")
awk -v m="$m" 'BEGIN { exit !(m > 0.05) }' || fail "the battle screen is (nearly) black: mean $m"
ok "made 1920x1080 it shows the picture 1x in the middle, black bars round it"
kill -TERM "$PID"  # quits as the window's close button does
ended "asked to close"
ok "asked to close, it ends with status 0"
echo PASS
