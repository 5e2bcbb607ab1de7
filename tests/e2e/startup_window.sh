#!/bin/bash
# The real program in a 1024 x 768 X server: the window opens at 800 x 600, shows the
# signboard and the logo at their places, then the battle screen; it idles without spinning,
# and a click on the field ends it at once with status 0.
# Usage: startup_window.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
PROG=$BUILD/game/sevenchips
E2E_SECONDS=90
. "$SRC/tests/e2e/common.inc"

shot() { import -window root "$1" 2>/dev/null; }
# Differing pixels between a region of a screenshot and a picture of the same size.
region_diff() {  # FILE X Y PICTURE
    local size
    size=$(identify -format '%wx%h' "$4")
    convert "$1" -crop "${size}+$2+$3" +repage "$WORK/crop.png"
    compare -metric AE "$WORK/crop.png" "$4" null: 2>&1 | cut -d' ' -f1
}
mean_of() {  # FILE WxH+X+Y: the mean brightness 0..1
    convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:mean]' info:
}

export HOME=$WORK/home XDG_DATA_HOME=$WORK/home/data SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
mkdir -p "$HOME"
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
[ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || fail "window is ${WIDTH}x${HEIGHT}, not 800x600"
ok "window $WIN is 800x600 at ($X, $Y)"

# The signboard at (224, 182) of the surface, the surface at (16, 12) of the window.
KX=$((X + 16 + 224)); KY=$((Y + 12 + 182))
LX=$((X + 16 + 352)); LY=$((Y + 12 + 310))
seen=
for _ in $(seq 50); do
    shot "$WORK/start.png"
    if [ "$(region_diff "$WORK/start.png" $KX $KY "$SRC/assets/pictures/kanban.png")" = 0 ]; then seen=1; break; fi
    sleep 0.1
done
[ -n "$seen" ] || fail "the signboard never showed at ($KX, $KY)"
ok "the signboard shows pixel for pixel at window (240, 194)"
xprop -id "$WIN" _NET_WM_ICON 2>/dev/null | head -2 | grep -q 'Icon (64 x 64)' || fail "the window has no 64x64 icon"
xprop -id "$WIN" WM_CLASS | grep -q '"sevenchips"' || fail "the window's class is not sevenchips (the desktop entry's)"
ok "the window carries the 64x64 logo as its icon and the class sevenchips"
sleep 0.7  # the logo rises in seven frames of 30 ms
shot "$WORK/start.png"
d=$(region_diff "$WORK/start.png" $LX $LY "$SRC/assets/pictures/logo.png")
[ "$d" = 0 ] || fail "the logo at ($LX, $LY) differs in $d pixels"
ok "the whole logo shows at window (368, 322)"
top=$(mean_of "$WORK/start.png" "800x12+$X+$Y")
left=$(mean_of "$WORK/start.png" "16x600+$X+$Y")
[ "$top" = 0 ] && [ "$left" = 0 ] || fail "the window's border strip is not black (top $top, left $left)"
ok "the window's border strip around the surfaces is black"

# The battle screen replaces the signboard about 2 s later.
battle=
for _ in $(seq 60); do
    shot "$WORK/battle.png"
    if [ "$(region_diff "$WORK/battle.png" $KX $KY "$SRC/assets/pictures/kanban.png")" != 0 ]; then battle=1; break; fi
    sleep 0.1
done
[ -n "$battle" ] || fail "the start-up never gave way to the battle"
sleep 0.5
shot "$WORK/battle.png"
m=$(mean_of "$WORK/battle.png" "768x576+$((X + 16))+$((Y + 12))")
awk -v m="$m" 'BEGIN { exit !(m > 0.05) }' || fail "the battle screen is (nearly) black: mean $m"
ok "the battle screen is up (mean brightness $m)"

# Idle in battle: no spinning.
hz=$(getconf CLK_TCK)
t0=$(awk '{print $14 + $15}' /proc/$PID/stat); sleep 2; t1=$(awk '{print $14 + $15}' /proc/$PID/stat)
pct=$(( (t1 - t0) * 100 / (2 * hz) ))
[ "$pct" -lt 50 ] || fail "the idle battle takes ${pct}% of a CPU"
ok "idle battle uses ${pct}% of a CPU over 2 s"

# A click on the window's border strip, outside the surfaces, is no click on the field.
xdotool mousemove $((X + 8)) $((Y + 300)) click 1
sleep 0.5
kill -0 "$PID" 2>/dev/null || fail "a click on the border strip ended the program"
ok "a click on the border strip left of the surfaces does nothing"

# A click on the field ends the program at once.
xdotool mousemove $((X + 400)) $((Y + 300)) click 1
for _ in $(seq 10); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$PID" 2>/dev/null && fail "still running 1 s after the click"
wait "$PID"; status=$?; PID=
[ "$status" = 0 ] || fail "exit status $status after the click"
ok "a click ends it within a second, status 0"
if [ -s "$WORK/err" ]; then echo "standard error:"; cat "$WORK/err"; fi
echo PASS
