#!/bin/bash
# The window's close button: the message a window manager sends for it (WM_DELETE_WINDOW)
# ends the program as a click does, within a second and with status 0, also during the
# start-up.
# Usage: close_button.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=60
. "$SRC/tests/e2e/common.inc"

# What a window manager's close button sends: a WM_PROTOCOLS client message.
close_window() {
    python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
d = x.XOpenDisplay(None)
if not d:
    sys.exit("cannot open the display")
e = Event()
e.xclient.type = 33  # ClientMessage
e.xclient.window = int(sys.argv[1])
e.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
e.xclient.format = 32
e.xclient.l[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
e.xclient.l[1] = 0  # CurrentTime
if not x.XSendEvent(d, e.xclient.window, 0, 0, ctypes.byref(e)):
    sys.exit("XSendEvent failed")
x.XFlush(d)
x.XCloseDisplay(d)
PY
}

run_and_close() {  # WHEN-IN-SECONDS LABEL
    export HOME=$WORK/home XDG_DATA_HOME=$WORK/home/data SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
    mkdir -p "$HOME"
    "$BUILD/game/sevenchips" >"$WORK/out" 2>"$WORK/err" &
    PID=$!
    local win=
    for _ in $(seq 50); do
        win=$(xdotool search --onlyvisible --name "Seven Chips" 2>/dev/null | head -1)
        [ -n "$win" ] && break
        sleep 0.1
    done
    [ -n "$win" ] || fail "no window named Seven Chips"
    sleep "$1"
    kill -0 "$PID" 2>/dev/null || fail "$2: the program ended by itself"
    close_window "$win" || fail "$2: could not send the close message"
    for _ in $(seq 10); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$PID" 2>/dev/null && fail "$2: still running 1 s after the close button"
    wait "$PID"; local status=$?; PID=
    [ "$status" = 0 ] || fail "$2: exit status $status after the close button"
    ok "$2: the close button ends it within a second, status 0"
}

run_and_close 0.3 "during the start-up"
run_and_close 4 "in battle"
echo PASS
