#!/bin/bash
# The real program in a 1024 x 768 X server: the window opens at 800 x 600 with its icon and
# class, shows the signboard and the logo at their places, then the battle screen; it idles
# without spinning; a click on the border strip does nothing, a click on the field ends it at
# once, and so does the close button, in the start-up and in battle. Without a display it says
# so in one line and exits with status 1.
# Usage: startup_window.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=120
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# Without a display: one line on standard error and status 1, quickly.
no_window() {  # LABEL EXPECTED [NAME=VALUE]
    local start status
    start=$(date +%s%N)
    env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "${@:3}" timeout 10 "$BUILD/game/sevenchips" >"$WORK/out" 2>"$WORK/err"
    status=$?
    [ "$status" = 1 ] || fail "$1: exit status $status, not 1"
    [ "$(wc -l <"$WORK/err")" = 1 ] && grep -qF "$2" "$WORK/err" || fail "$1: standard error says: $(cat "$WORK/err")"
    [ ! -s "$WORK/out" ] && [ "$(ms_since "$start")" -lt 5000 ] || fail "$1: output, or more than 5 s"
    ok "$1: status 1 in $(ms_since "$start") ms with: $(cat "$WORK/err")"
}
no_window "no display" "sevenchips: cannot open a window (no display: DISPLAY and WAYLAND_DISPLAY are not set)"
no_window "unreachable display" "sevenchips: cannot open a window (" DISPLAY=:4711

start_game
find_window
[ "$WIDTH" = 800 ] && [ "$HEIGHT" = 600 ] || fail "window is ${WIDTH}x${HEIGHT}, not 800x600"
for _ in $(seq 50); do shot "$WORK/s.png"; kanban_shows "$WORK/s.png" && break; sleep 0.1; done
kanban_shows "$WORK/s.png" || fail "the signboard never showed at window (240, 194)"
xprop -id "$WIN" _NET_WM_ICON 2>/dev/null | head -2 | grep -q 'Icon (64 x 64)' || fail "the window has no 64x64 icon"
xprop -id "$WIN" WM_CLASS | grep -q '"sevenchips"' || fail "the window's class is not sevenchips (the desktop entry's)"
ok "window $WIN is 800x600 at ($X, $Y), with the 64x64 logo as its icon and the class sevenchips"
sleep 0.7  # the logo rises in seven frames of 30 ms
shot "$WORK/s.png"
d=$(region_diff "$WORK/s.png" $((X + 368)) $((Y + 322)) "$SRC/assets/pictures/logo.png")
[ "$d" = 0 ] || fail "the logo at window (368, 322) differs in $d pixels"
[ "$(mean_of "$WORK/s.png" "800x12+$X+$Y")" = 0 ] && [ "$(mean_of "$WORK/s.png" "16x600+$X+$Y")" = 0 ] ||
    fail "the window's border strip around the surfaces is not black"
ok "the signboard and the whole logo pixel for pixel at their places; the border strip black"
for _ in $(seq 60); do shot "$WORK/s.png"; kanban_shows "$WORK/s.png" || break; sleep 0.1; done
sleep 0.5
shot "$WORK/s.png"
m=$(mean_of "$WORK/s.png" "768x576+$((X + 16))+$((Y + 12))")
awk -v m="$m" 'BEGIN { exit !(m > 0.05) }' || fail "the battle screen is (nearly) black: mean $m"
hz=$(getconf CLK_TCK)
t0=$(awk '{print $14 + $15}' /proc/$PID/stat); sleep 2; t1=$(awk '{print $14 + $15}' /proc/$PID/stat)
pct=$(( (t1 - t0) * 100 / (2 * hz) ))
[ "$pct" -lt 50 ] || fail "the idle battle takes ${pct}% of a CPU"
ok "the battle screen is up (mean brightness $m) and idles at ${pct}% of a CPU"
xdotool mousemove $((X + 8)) $((Y + 300)) click 1
sleep 0.5
kill -0 "$PID" 2>/dev/null || fail "a click on the border strip ended the program"
xdotool mousemove $((X + 400)) $((Y + 300)) click 1
ended "a click on the field"
ok "a click on the border strip does nothing; one on the field ends it within a second, status 0"

# The close button: what a window manager sends for it, a WM_DELETE_WINDOW client message.
close_window() {
    python3 - "$1" <<'PY'
import ctypes as c, struct, sys
x = c.CDLL("libX11.so.6")
x.XOpenDisplay.restype = c.c_void_p
x.XInternAtom.restype = c.c_ulong
x.XInternAtom.argtypes = [c.c_void_p, c.c_char_p, c.c_int]
x.XSendEvent.argtypes = [c.c_void_p, c.c_ulong, c.c_int, c.c_long, c.c_char_p]
x.XFlush.argtypes = [c.c_void_p]
d = x.XOpenDisplay(None) or sys.exit("cannot open the display")
w = int(sys.argv[1])
# An XClientMessageEvent (type 33, format 32) in the XEvent union's 24 longs: WM_PROTOCOLS
# saying WM_DELETE_WINDOW.
e = struct.pack("@iLiPLLi5l", 33, 0, 0, d, w, x.XInternAtom(d, b"WM_PROTOCOLS", 0), 32,
                x.XInternAtom(d, b"WM_DELETE_WINDOW", 0), 0, 0, 0, 0).ljust(24 * c.sizeof(c.c_long), b"\0")
x.XSendEvent(d, w, 0, 0, e) or sys.exit("XSendEvent failed")
x.XFlush(d)
PY
}
for when in "0.3|the start-up" "4|battle"; do
    start_game
    find_window
    sleep "${when%|*}"
    kill -0 "$PID" 2>/dev/null || fail "${when#*|}: the program ended by itself"
    close_window "$WIN" || fail "${when#*|}: could not send the close message"
    ended "the close button in ${when#*|}"
    ok "the close button in ${when#*|} ends it within a second, status 0"
done
[ ! -s "$WORK/err" ] || { cat "$WORK/err"; fail "the program wrote to standard error"; }
echo PASS
