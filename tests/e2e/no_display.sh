#!/bin/bash
# Without a display the program says so in one line and exits with status 1, quickly; with
# a display that cannot be reached it names SDL's reason instead.
# Usage: no_display.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1")
PROG=$BUILD/game/sevenchips
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok: $*"; }

check() {  # NAME EXPECTED-TEXT ENV...
    local name=$1 want=$2
    shift 2
    local start end status lines
    start=$(date +%s%N)
    env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER HOME="$WORK" "$@" timeout 10 "$PROG" >"$WORK/out" 2>"$WORK/err"
    status=$?
    end=$(date +%s%N)
    [ "$status" = 1 ] || fail "$name: exit status $status, not 1"
    lines=$(wc -l <"$WORK/err")
    [ "$lines" = 1 ] || { cat "$WORK/err"; fail "$name: $lines lines on standard error, not one"; }
    grep -qF "$want" "$WORK/err" || fail "$name: the message does not say '$want': $(cat "$WORK/err")"
    [ ! -s "$WORK/out" ] || fail "$name: wrote to standard output"
    [ $(( (end - start) / 1000000 )) -lt 5000 ] || fail "$name: took more than 5 s"
    ok "$name: status 1 in $(( (end - start) / 1000000 )) ms with: $(cat "$WORK/err")"
}

check "no display" "sevenchips: cannot open a window (no display: DISPLAY and WAYLAND_DISPLAY are not set)"
check "unreachable display" "sevenchips: cannot open a window (" DISPLAY=:4711
echo PASS
