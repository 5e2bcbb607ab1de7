#!/bin/bash
# A recorded game as a link, through the real programs: the replay tool prints the link of
# demo/win.keys, replays the link to the same trace as the file, and sums up the page's whole
# address in a file. Then the window plays a short game given as "run=...", as the replay tool
# does. A bad link is one line and status 2, before any trace is written or window opens.
# Usage: run_link.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=90
. "$SRC/tests/e2e/common.inc"
REPLAY=$BUILD/game/sevenchips-replay
mkdir -p "$WORK/app/se"
replay() {  # TRACE KEYS [APP_DIR]
    "$REPLAY" --keys "$2" --app-dir "${3:-$WORK/app}" --data-dir "$WORK/data" --trace "$1" 2>"$WORK/err" ||
        fail "the replay of ${2:0:60}: status $?: $(cat "$WORK/err")"
}
refused() {  # LABEL PROGRAM ARGS...: status 2 and one line, nothing written
    "${@:2}" --trace "$WORK/refused.jsonl" >"$WORK/out" 2>"$WORK/err"
    [ $? = 2 ] && [ "$(wc -l <"$WORK/err")" = 1 ] && grep -q "cut short" "$WORK/err" && [ ! -s "$WORK/out" ] &&
        [ ! -e "$WORK/refused.jsonl" ] || fail "$1: $(cat "$WORK/out" "$WORK/err")"
    ok "$1: status 2 and one line: $(cat "$WORK/err")"
}

LINK=$("$REPLAY" --keys "$SRC/demo/win.keys" --link 2>"$WORK/err") || fail "--link: status $?: $(cat "$WORK/err")"
[[ $LINK == "#run=1."* && $LINK != *$'\n'* && ${#LINK} -le 2000 && ! -s $WORK/err ]] ||
    fail "--link printed ${#LINK} characters: ${LINK:0:200} $(cat "$WORK/err")"
replay "$WORK/file.jsonl" "$SRC/demo/win.keys"
replay "$WORK/link.jsonl" "$LINK"
cmp -s "$WORK/file.jsonl" "$WORK/link.jsonl" || fail "the link's trace differs from the file's"
summary=$("$REPLAY" --keys <(echo "https://127.0.0.1:8000/?lang=en$LINK") --summary) || fail "--summary: status $?"
[ "$summary" = '{"seed":1,"ticks":3377,"ms":359299,"defeated":8,"outcome":"won"}' ] || fail "--summary said $summary"
ok "the link of win.keys, ${#LINK} characters, replays to the file's trace; as an address in a file: $summary"
refused "a link cut short" "$REPLAY" --keys "${LINK:0:301}"

# The window watches a short game from its link; the script's own Escape ends it.
SHORT=$("$REPLAY" --keys <(printf 'seed 3\n0 Right\n2 Up\n9 Left\n14 Down\n20 Escape\n') --link)
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/play.raw" timeout -k 2 10 "$BUILD/game/sevenchips" \
    --play "run=${SHORT#\#run=}" --trace "$WORK/play.jsonl" >"$WORK/out" 2>"$WORK/err" && [ ! -s "$WORK/err" ] ||
    fail "--play of a link: status $? (124 if still running 10 s on): $(cat "$WORK/err")"
replay "$WORK/replay.jsonl" "$SHORT" "$BUILD/game"
diff <(sed 's/"ms":[0-9]*,//' "$WORK/play.jsonl") <(sed 's/"ms":[0-9]*,//' "$WORK/replay.jsonl") >"$WORK/diff" ||
    fail "--play of a link did not play the replay tool's game: $(head -c 600 "$WORK/diff")"
ok "--play of a link: the window plays the replay tool's game ($(wc -l <"$WORK/play.jsonl") lines) to its Escape"
refused "--play of a bad link" "$BUILD/game/sevenchips" --play "${SHORT:0:20}"
echo PASS
