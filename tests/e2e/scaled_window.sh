#!/bin/bash
# Scaling: on a 2560 x 1440 screen the window opens at 2x (1600 x 1200) with every picture
# pixel a 2 x 2 block; on a 1920 x 1080 screen it opens at 1x, and made 1920 x 1080 it shows
# the picture at 1x in the middle with black bars. Keeps BUILD_DIR/e2e/scaled.png.
# Usage: scaled_window.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
if [ -z "${SEVENCHIPS_E2E_SCREEN:-}" ]; then
    rc=0
    for screen in 2560x1440 1920x1080; do
        echo "== screen $screen"
        SEVENCHIPS_E2E_SCREEN=$screen timeout 60 xvfb-run -a -s "-screen 0 ${screen}x24" bash "$0" "$BUILD" "$SRC" || rc=1
    done
    [ $rc = 0 ] && echo PASS
    exit $rc
fi
PROG=$BUILD/game/sevenchips
. "$SRC/tests/e2e/common.inc"
shot() { import -window root "$1" 2>/dev/null; }
region_diff() {  # FILE X Y PICTURE: differing pixels
    local size
    size=$(identify -format '%wx%h' "$4")
    convert "$1" -crop "${size}+$2+$3" +repage "$WORK/crop.png"
    compare -metric AE "$WORK/crop.png" "$4" null: 2>&1 | cut -d' ' -f1
}
mean_of() { convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:mean]' info:; }
# Waits until PICTURE shows at (X, Y) of the screen; the screenshot stays in FILE.
wait_for() {  # FILE X Y PICTURE TRIES
    for _ in $(seq "$5"); do
        shot "$1"
        [ "$(region_diff "$1" "$2" "$3" "$4")" = 0 ] && return 0
        sleep 0.1
    done
    return 1
}

export HOME=$WORK/home XDG_DATA_HOME=$WORK/home/data SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
mkdir -p "$HOME" "$BUILD/e2e"
"$PROG" >"$WORK/out" 2>"$WORK/err" &
PID=$!
WIN=
for _ in $(seq 50); do
    WIN=$(xdotool search --onlyvisible --name "Seven Chips" 2>/dev/null | head -1)
    [ -n "$WIN" ] && break
    sleep 0.1
done
[ -n "$WIN" ] || fail "no window named Seven Chips"
eval "$(xdotool getwindowgeometry --shell "$WIN")"
KANBAN=$SRC/assets/pictures/kanban.png

case $SEVENCHIPS_E2E_SCREEN in
2560x1440)
    [ "$WIDTH" = 1600 ] && [ "$HEIGHT" = 1200 ] || fail "window is ${WIDTH}x${HEIGHT}, not 1600x1200"
    ok "the window opens at 2x: 1600x1200"
    convert "$KANBAN" -sample 200% "$WORK/kanban2.png"
    wait_for "$WORK/s.png" $((X + 2 * 240)) $((Y + 2 * 194)) "$WORK/kanban2.png" 60 ||
        fail "the signboard never showed doubled at window (480, 388)"
    ok "the signboard shows with every pixel a 2x2 block at window (480, 388)"
    top=$(mean_of "$WORK/s.png" "1600x24+$X+$Y")
    [ "$top" = 0 ] || fail "the doubled border strip is not black ($top)"
    ok "the border strip (24 window pixels high) is black"
    cp "$WORK/s.png" "$BUILD/e2e/scaled-2x.png"
    ;;
1920x1080)
    [ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || fail "window is ${WIDTH}x${HEIGHT}, not 800x600 (2x does not fit)"
    ok "the window opens at 1x: 800x600 (1080 is too low for 2x)"
    wait_for "$WORK/s.png" $((X + 240)) $((Y + 194)) "$KANBAN" 60 || fail "the signboard never showed"
    xdotool windowmove --sync "$WIN" 0 0
    xdotool windowsize --sync "$WIN" 1920 1080
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    [ "$WIDTH" = 1920 ] && [ "$HEIGHT" = 1080 ] || fail "resized window is ${WIDTH}x${HEIGHT}"
    # 1x still, centred: the picture at (560, 240) of the window.
    wait_for "$WORK/s.png" $((X + 560 + 240)) $((Y + 240 + 194)) "$KANBAN" 10 ||
        fail "after the resize the signboard is not at window (800, 434)"
    ok "resized to 1920x1080: the signboard shows 1x at window (800, 434)"
    # Wait for the battle screen, then look at the bars and the picture.
    for _ in $(seq 60); do
        shot "$WORK/s.png"
        [ "$(region_diff "$WORK/s.png" $((X + 800)) $((Y + 434)) "$KANBAN")" != 0 ] && break
        sleep 0.1
    done
    sleep 0.5
    shot "$WORK/s.png"
    cp "$WORK/s.png" "$BUILD/e2e/scaled.png"
    for bar in "560x1080+$X+$Y" "560x1080+$((X + 1360))+$Y" "800x240+$((X + 560))+$Y" "800x240+$((X + 560))+$((Y + 840))"; do
        [ "$(mean_of "$WORK/s.png" "$bar")" = 0 ] || fail "the bar $bar is not black"
    done
    ok "the bars left, right, above and below the picture are black"
    m=$(mean_of "$WORK/s.png" "768x576+$((X + 576))+$((Y + 252))")
    awk -v m="$m" 'BEGIN { exit !(m > 0.05) }' || fail "the battle screen is (nearly) black: mean $m"
    ok "the battle screen fills the picture's place (mean brightness $m); kept in $BUILD/e2e/scaled.png"
    ;;
esac

kill -TERM "$PID"  # quits as the window's close button does
for _ in $(seq 20); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
wait "$PID"; status=$?; PID=
[ "$status" = 0 ] || fail "exit status $status after being asked to close"
ok "asked to close, it ends with status 0"
