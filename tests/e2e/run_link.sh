#!/bin/bash
# A recorded game as a link, through the real programs: the replay tool prints the link of
# demo/win.keys, replays the link (given itself, or as the page's whole address in a file)
# to the same trace as the file, and sums it up; a link cut short is one line and status 2.
# Then the window watches a short game given as a link, and plays it as the replay tool
# does; a bad link is refused before any window opens.
# Usage: run_link.sh BUILD_DIR SOURCE_DIR
set -u
BUILD=$(realpath "$1"); SRC=$(realpath "$2")
E2E_SECONDS=90
. "$SRC/tests/e2e/common.inc"
. "$SRC/tests/e2e/window.inc"
STARTED=$(date +%s%N)
REPLAY=$BUILD/game/sevenchips-replay
untimed() { sed 's/"ms":[0-9]*,//' "$@"; }
mkdir -p "$WORK/app/se"

"$REPLAY" --keys "$SRC/demo/win.keys" --link >"$WORK/link" 2>"$WORK/err" || fail "--link: status $?: $(cat "$WORK/err")"
LINK=$(cat "$WORK/link")
[ "$(wc -l <"$WORK/link")" = 1 ] && [[ $LINK == "#run=1."* ]] && [ ! -s "$WORK/err" ] ||
    fail "--link printed: $(head -c 200 "$WORK/link") $(cat "$WORK/err")"
[ "${#LINK}" -le 2000 ] || fail "the link of win.keys is ${#LINK} characters"
ok "the link of win.keys: ${#LINK} characters"

replay() {  # TRACE KEYS
    "$REPLAY" --keys "$2" --app-dir "$WORK/app" --data-dir "$WORK/data" --trace "$1" 2>"$WORK/err" ||
        fail "the replay of $(echo "$2" | head -c 60): status $?: $(cat "$WORK/err")"
}
replay "$WORK/file.jsonl" "$SRC/demo/win.keys"
replay "$WORK/link.jsonl" "$LINK"
cmp -s "$WORK/file.jsonl" "$WORK/link.jsonl" || fail "the link's trace differs from the file's"
grep -q '"event":"tick","tick":3377,.*"GameMode":2' "$WORK/link.jsonl" || fail "the link's game was not won at tick 3377"
echo "https://127.0.0.1:8000/index.html?lang=en$LINK" >"$WORK/address.txt"
summary=$("$REPLAY" --keys "$WORK/address.txt" --summary) || fail "--summary of the address in a file: status $?"
[ "$summary" = '{"seed":1,"ticks":3377,"ms":359299,"defeated":8,"outcome":"won"}' ] || fail "--summary said $summary"
ok "the link replays to the file's trace ($(wc -l <"$WORK/link.jsonl") lines); in a file as an address: $summary"

"$REPLAY" --keys "${LINK:0:301}" --trace "$WORK/cut.jsonl" >"$WORK/out" 2>"$WORK/err"
status=$?
[ "$status" = 2 ] && [ "$(wc -l <"$WORK/err")" = 1 ] && [ ! -s "$WORK/out" ] && [ ! -e "$WORK/cut.jsonl" ] ||
    fail "a link cut short: status $status, $(cat "$WORK/err")"
grep -q "cut short" "$WORK/err" || fail "a link cut short said: $(cat "$WORK/err")"
ok "a link cut short: status 2 and one line: $(cat "$WORK/err")"

# The window watches a short game from its link; the script's own Escape ends it.
printf 'seed 3\n0 Right\n2 Up\n9 Left\n14 Down\n20 Escape\n' >"$WORK/short.keys"
SHORT=$("$REPLAY" --keys "$WORK/short.keys" --link)
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/play.raw" "$BUILD/game/sevenchips" --play "run=${SHORT#\#run=}" \
    --trace "$WORK/play.jsonl" >"$WORK/out" 2>"$WORK/err" &
PID=$!
find_window
for _ in $(seq 100); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$PID" 2>/dev/null && fail "--play of a link: still running 10 s later; its trace ends: $(tail -1 "$WORK/play.jsonl" | cut -c1-80)"
ended "--play of a link"
[ ! -s "$WORK/err" ] || fail "--play of a link said: $(cat "$WORK/err")"
"$REPLAY" --keys "$SHORT" --app-dir "$BUILD/game" --data-dir "$WORK/data" --trace "$WORK/replay.jsonl"
diff <(untimed "$WORK/play.jsonl") <(untimed "$WORK/replay.jsonl") >"$WORK/diff" ||
    fail "--play of a link did not play the replay tool's game: $(head -c 600 "$WORK/diff")"
grep -q '"event":"key","tick":20,.*"key":27' "$WORK/play.jsonl" || fail "the window's game did not end at tick 20"
ok "--play of a link: the window plays the replay tool's game ($(wc -l <"$WORK/play.jsonl") lines), seed 3, to its Escape"
"$BUILD/game/sevenchips" --play "${SHORT:0:20}" 2>"$WORK/err"
status=$?
[ "$status" = 2 ] && [ "$(wc -l <"$WORK/err")" = 1 ] || fail "--play of a bad link: status $status, $(cat "$WORK/err")"
ok "--play of a bad link: status 2 and one line: $(cat "$WORK/err")"
echo "PASS in $(ms_since "$STARTED") ms"
