#!/bin/bash
# One face, chosen the same way everywhere: what ./dev assets makes (the painter's files and
# the software centre's screenshot, here into a scratch folder) is byte for byte what is
# committed, also when fontconfig lists the font folders in reverse; and the game's --verbose
# names the face a player gets from the Debian package, either way.
# Usage: one_face.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=60
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
export SDL_AUDIODRIVER=dummy
# A build without the painter (the sanitizer build of ./dev check) cannot remake the assets.
[ -x "$BUILD/tools/paint/sevenchips-paint" ] || { echo "SKIP: this build has no painter"; exit 77; }
FACE="Ume P Gothic Regular (/usr/share/fonts/truetype/horai-umefont/ume-pgo4.ttf)"
{
    echo '<?xml version="1.0"?><fontconfig>'
    fc-list : file | sed 's/: *$//' | xargs -d '\n' -n1 dirname | sort -u -r | sed 's|.*|<dir>&</dir>|'
    echo "<cachedir>$WORK/fc-cache</cachedir></fontconfig>"
} >"$WORK/reverse.conf"

for setup in "default|" "reverse|$WORK/reverse.conf"; do
    name=${setup%|*} conf=${setup#*|} out=$WORK/assets-${setup%|*}
    env ${conf:+FONTCONFIG_FILE=$conf} bash "$SRC/tools/assets.sh" "$BUILD" "$out" >"$WORK/log" 2>&1 ||
        fail "$name fonts: tools/assets.sh failed: $(tail -5 "$WORK/log")"
    files=$(cd "$out" && find . -type f | sort)
    for f in $files; do cmp -s "$out/$f" "$SRC/$f" || fail "$name fonts: $f is not the committed one"; done
    [ "$(wc -w <<<"$files")" -gt 40 ] && [ -f "$out/data/screenshots/battle.png" ] || fail "$name fonts: files missing"
    ok "$name fonts: the $(wc -w <<<"$files") files ./dev assets makes are the committed ones, the screenshot among them"
    env ${conf:+FONTCONFIG_FILE=$conf} "$BUILD/game/sevenchips" --verbose >"$WORK/out" 2>"$WORK/err" &
    PID=$!
    find_window
    for _ in $(seq 100); do grep -q '^sevenchips: settings' "$WORK/err" && break; sleep 0.05; done
    grep -qxF "sevenchips: font $FACE" "$WORK/err" || fail "$name fonts: --verbose says: $(cat "$WORK/err")"
    xdotool mousemove $((X + 400)) $((Y + 300)) click 1
    ended "$name fonts: a click on the field"
    ok "$name fonts: --verbose says font $FACE"
done
echo PASS
