#!/bin/bash
# The real program meeting faults on a player's machine, two at a time: no audio device and no
# font at all; broken music and effect files and no font with the Japanese letters. It says so
# in one line for each fault of the fonts or the device (a broken file is only silent), shows
# the battle screen the replay tool draws with the same fonts, writes silence where it has no
# sound, and ends on Escape with status 0.
# Usage: faults.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=90
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
STARTED=$(date +%s%N)
export SEVENCHIPS_SEED=3

# Fontconfig set-ups that know one font without the Japanese letters, or no font at all.
font_config() {  # NAME FONT...
    mkdir -p "$WORK/fonts-$1"
    [ $# -gt 1 ] && ln -s "${@:2}" "$WORK/fonts-$1/"
    printf '<?xml version="1.0"?>\n<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n' \
        "$WORK/fonts-$1" "$WORK/fc-cache-$1" >"$WORK/$1.conf"
}
LATIN=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[ -f "$LATIN" ] || LATIN=$(comm -23 <(fc-list :lang=en file | sed 's/: *$//' | sort) \
    <(fc-list :lang=ja file | sed 's/: *$//' | sort) | grep -E '\.(ttf|otf)$' | head -1)
[ -n "$LATIN" ] || fail "no font without the Japanese letters on this machine to try"
font_config latin "$LATIN"
font_config none

# A copy of the program beside broken files: music cut in half, effects empty, only a header
# or noise.
BROKEN=$WORK/broken
mkdir -p "$BROKEN/bg" "$BROKEN/se"
cp "$BUILD/game/sevenchips" "$BROKEN/"
head -c $(( $(stat -c %s "$BUILD/game/bg/bg1.mid") / 2 )) "$BUILD/game/bg/bg1.mid" >"$BROKEN/bg/bg1.mid"
for n in $(seq 10); do
    case $((n % 3)) in
        0) : >"$BROKEN/se/se$n.wav" ;;
        1) head -c 44 "$BUILD/game/se/se$n.wav" >"$BROKEN/se/se$n.wav" ;;
        2) head -c "$(stat -c %s "$BUILD/game/se/se$n.wav")" /dev/urandom >"$BROKEN/se/se$n.wav" ;;
    esac
done

# The replay tool's first battle ticks for a font set-up, made while the first run starts.
reference() {  # NAME FONTCONFIG_FILE
    FONTCONFIG_FILE=$2 "$BUILD/game/sevenchips-replay" --seed "$SEVENCHIPS_SEED" --ticks 4 \
        --app-dir "$BUILD/game" --data-dir "$WORK/data" --shot 3:"$WORK/$1-0.png" --shot 4:"$WORK/$1-1.png" \
        >/dev/null 2>&1 && masked "$WORK/$1-0.png" "$WORK/$1-0.png" && masked "$WORK/$1-1.png" "$WORK/$1-1.png"
}
(
    reference latin "$WORK/latin.conf" && reference none "$WORK/none.conf" && ! same "$WORK/latin-0.png" "$WORK/none-0.png"
) &
REFERENCES=$!

# One run: PROGRAM with the environment given; standard error must be one line for each
# text EXPECTED, containing it.
run() {  # LABEL REFERENCE PROGRAM EXPECTED... -- ENV...
    local label=$1 ref=$2 prog=$3 seen= want=()
    shift 3
    while [ "$1" != -- ]; do want+=("$1"); shift; done
    shift
    AUDIO=$WORK/$ref.raw
    rm -f "$AUDIO"
    start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$AUDIO" "$@" "$prog"
    find_window
    wait_for_battle "$AUDIO"
    if [ -n "$REFERENCES" ]; then
        wait "$REFERENCES" || fail "the replay tool's pictures could not be made, or the fonts do not change them"
        REFERENCES=
    fi
    for _ in $(seq 10); do
        seen=$(which_of "$WORK/s.png" "$WORK/$ref-0.png" "$WORK/$ref-1.png")
        [ -n "$seen" ] && break
        shot "$WORK/s.png"
    done
    [ -n "$seen" ] || fail "$label: the battle screen is not the replay tool's ($(kept))"
    xdotool key Right Up  # two effects, were there sound
    sleep 0.4
    quit_with_escape "$label"
    [ ! -s "$WORK/out" ] || fail "$label: wrote to standard output"
    [ "$(wc -l <"$WORK/err")" = ${#want[@]} ] || { cat "$WORK/err"; fail "$label: not ${#want[@]} lines on standard error"; }
    local w
    for w in "${want[@]}"; do
        grep -qF "$w" "$WORK/err" || fail "$label: standard error does not say '$w': $(cat "$WORK/err")"
    done
    ok "$label: the battle screen as the replay tool draws it, Escape ends it with status 0"
    sed 's/^/   said: /' "$WORK/err"
}

run "no audio device, no font at all" none "$BUILD/game/sevenchips" "sevenchips: no audio device (" \
    "no font at all could be opened; the game runs without text" -- \
    SDL_AUDIODRIVER=no-such-driver FONTCONFIG_FILE="$WORK/none.conf"
[ ! -e "$AUDIO" ] || fail "no audio device, and still sound was written"
run "broken music and effects, no Japanese font" latin "$BROKEN/sevenchips" "install fonts-horai-umefont" -- \
    FONTCONFIG_FILE="$WORK/latin.conf"
python3 "$SRC/tests/e2e/audio.py" silent "$AUDIO" || exit 1
echo "PASS in $(ms_since "$STARTED") ms"
