#!/usr/bin/env bash
# ./dev bench: builds the game and the benchmark programs in release mode in their own build
# folder and prints one table of figures against their targets.
#
#   1-2  bench/headless_bench: the winning key script (demo/win.keys, seed 1) replayed in full
#        headless, pinned to one core, five times after a warm-up: the median rate of battle
#        ticks, and the p99 and the worst of one Timer2_Timer call pooled over the five
#        replays, as shares of the battle clock's 100 ms: what a tick may take of its period
#        on any machine, rather than a time taken on one.
#   3-6  the real program, copied with its bg/ and se/ into a scratch folder, in one Xvfb
#        server (1024 x 768 x 24) with SDL_AUDIODRIVER=disk writing to /dev/null: the disk
#        driver keeps real time and still runs the MIDI synthesiser, which is most of the cost.
#        Everything runs one after the other, never two programs at once, so neither takes
#        the other's core or the X server's time.
#        On a machine with no graphics device (nothing in /dev/dri) the game draws through
#        SDL's own software renderer; every desktop program then runs with SDL_RENDER_DRIVER=
#        software and SDL_FRAMEBUFFER_ACCELERATION=0, so the floor is measured on that path too.
#   3    the game's CPU time (utime + stime of /proc/PID/stat, all threads) over the first
#        20 s of battle with seed 1 (the game goes into battle by itself, no key needed),
#        against bench/floor's over 20 s from the moment its music plays: three such pairs,
#        game and floor in turn (a single run moves by 10-20 %), and the pair with the median
#        ratio. The first pair is the first 20 s of the 60 s runs below.
#   4    the game started with SEVENCHIPS_BENCH_ENDING=1 (the last enemy beaten at the first tick): its
#        own CPU time over the ending, from the ending's first picture to its closing box.
#   5    from exec to the first present of the signboard: the wall clock is read by bash
#        ($EPOCHREALTIME, no fork) just before exec and by the game when it has shown the
#        signboard (SEVENCHIPS_BENCH_MARKS=1); the median of five starts.
#   6    peak resident set (VmHWM) of the game at the end of its 60 s battle against the
#        floor's at the end of its 60 s.
#   8-13 the web edition (bench/web.mjs, when ./dev web has built it): in headless Chromium,
#        the start-up to the start screen and from the first key to the signboard, the site's
#        size, and demo/win.keys replayed by the replay tool built for the browser against the
#        native one, turn about.
#   11   the browser's CPU time (its processes but the renderer of its own interface) over
#        20 s of the page in battle, from 20 s after the first key (the browser's optimising
#        compiler has taken up the battle's code by then), against the same of a floor page in
#        the same browser from 20 s after it loaded: an 800 x 600 canvas set up as the game's,
#        with a band of 800 x 16 pixels put ten times a second. Five pairs, page and floor in
#        turn, each visit in a fresh browser, and the pair with the median ratio. Both without
#        Web Audio (the game then plays silently): the headless browser's audio threads move
#        one visit by as much as fourfold. The sound's own cost is in the note line: the page
#        with its sound (median of three visits) against the silent visits; so is the page
#        against its own pictures without the game (what it put on its canvas in each pair's
#        visit, put again at the same moments on the floor's canvas): what remains beyond them
#        is the program and the page's machinery.
#   13   the page watching demo/win.keys from its link: a seek to the run's end, from the seek
#        to the end panel (the whole game replayed ahead and its last picture shown), against
#        the replay tool in the page replaying the same game (figure 12's runs): medians of
#        three. The note line gives figure 11's page without the Gamepad API beside it (the
#        browser reads the controllers many times a second for a page that listens for them).
#   7    the battle clock: the mean interval between the battle ticks of that 60 s battle, from
#        their times in its --trace. Left out are the intervals on both sides of a tick that
#        waits (an attack, an enemy falling, a level-up: it is written once its wait is over,
#        and the next tick comes at once) and an interval of two ticks or more with the next
#        (the machine held the program up for a whole tick, and the ticks missed collapsed).
#
# Usage: bench/run.sh BUILD_DIR   (BENCH_SECONDS shortens the 60 s runs, and the 20 s ones with
# them, when trying it out)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--under-x" ]; then
    # ---- the desktop figures, inside the X server ----
    BUILD=$2 WORK=$3 SECONDS_RUN=$4
    PAIR_SECONDS=$((SECONDS_RUN < 20 ? SECONDS_RUN : 20))
    APP=$WORK/app
    export HOME=$WORK/home XDG_DATA_HOME=$WORK/home/data
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
    if compgen -G "/dev/dri/renderD*" >/dev/null || compgen -G "/dev/dri/card*" >/dev/null; then
        echo "renderer chosen" >"$WORK/desktop.txt"
    else
        export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
        echo "renderer software" >"$WORK/desktop.txt"
    fi
    mkdir -p "$HOME"
    PID=
    trap '[ -n "$PID" ] && kill "$PID" 2>/dev/null; true' EXIT
    HZ=$(getconf CLK_TCK)

    cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
    cpu_s() { awk -v a="$1" -v b="$2" -v hz="$HZ" 'BEGIN {printf "%.2f", (b - a) / hz}'; }
    peak_kb() { awk '/^VmHWM:/ {print $2}' "/proc/$1/status"; }
    # Waits until FILE has a line matching PATTERN (at most SECS seconds).
    wait_for() {
        local file=$1 pattern=$2 secs=$3 i
        for ((i = 0; i < secs * 20; i++)); do
            grep -q "$pattern" "$file" 2>/dev/null && return 0
            kill -0 "$PID" 2>/dev/null || { echo "bench: the program ended early:" >&2; cat "$file" >&2; return 1; }
            sleep 0.05
        done
        echo "bench: no \"$pattern\" after $secs s" >&2
        cat "$file" >&2
        return 1
    }
    mark() { awk -v n="$2" '$1 == "sevenchips-bench:" && $2 == n {print $'"$3"'; exit}' "$1"; }
    stop() {
        kill "$PID" 2>/dev/null || true
        wait "$PID" 2>/dev/null || true
        PID=
    }
    # Starts the game with its marks on, the wall clock noted just before the exec.
    start_game() {
        local name=$1
        shift
        (
            export SEVENCHIPS_BENCH_MARKS=1
            [ "$name" = ending ] && export SEVENCHIPS_BENCH_ENDING=1
            [[ "$name" = battle* ]] && export SEVENCHIPS_SEED=1
            echo "${EPOCHREALTIME//[.,]/}" >"$WORK/$name.t0"
            exec "$APP/sevenchips" "$@"
        ) >"$WORK/$name.out" 2>"$WORK/$name.err" &
        PID=$!
    }
    # Starts the floor and waits for its music.
    start_floor() {
        "$BUILD/bench/floor" --music "$APP/bg/bg1.mid" >"$WORK/$1.out" 2>"$WORK/$1.err" &
        PID=$!
        wait_for "$WORK/$1.err" "floor: ready" 20
    }

    # 5. Start-up.
    for run in 1 2 3 4 5; do
        start_game "start$run"
        wait_for "$WORK/start$run.err" "sevenchips-bench: signboard" 20
        stop
        echo $(( ($(mark "$WORK/start$run.err" signboard 3) - $(cat "$WORK/start$run.t0")) ))
    done | sort -n | sed -n 3p >"$WORK/startup_us"

    # 3, 6 and 7. The game in battle for 60 s, then the floor: figure 3's first pair is their
    # first 20 s.
    start_game battle --trace "$WORK/battle.jsonl"
    wait_for "$WORK/battle.err" "sevenchips-bench: battle" 20
    c0=$(cpu_ticks "$PID")
    sleep "$PAIR_SECONDS"
    c1=$(cpu_ticks "$PID")
    sleep $((SECONDS_RUN - PAIR_SECONDS))
    echo "game_cpu_s_1 $(cpu_s "$c0" "$c1")" >>"$WORK/desktop.txt"
    echo "game_peak_kb $(peak_kb "$PID")" >>"$WORK/desktop.txt"
    stop

    start_floor floor
    c0=$(cpu_ticks "$PID")
    sleep "$PAIR_SECONDS"
    c1=$(cpu_ticks "$PID")
    sleep $((SECONDS_RUN - PAIR_SECONDS))
    echo "floor_cpu_s_1 $(cpu_s "$c0" "$c1")" >>"$WORK/desktop.txt"
    echo "floor_peak_kb $(peak_kb "$PID")" >>"$WORK/desktop.txt"
    stop

    # 3. Two more pairs, run the same way (the game with its trace too).
    for pair in 2 3; do
        start_game "battle$pair" --trace "$WORK/battle$pair.jsonl"
        wait_for "$WORK/battle$pair.err" "sevenchips-bench: battle" 20
        c0=$(cpu_ticks "$PID")
        sleep "$PAIR_SECONDS"
        c1=$(cpu_ticks "$PID")
        stop
        echo "game_cpu_s_$pair $(cpu_s "$c0" "$c1")" >>"$WORK/desktop.txt"
        start_floor "floor$pair"
        c0=$(cpu_ticks "$PID")
        sleep "$PAIR_SECONDS"
        c1=$(cpu_ticks "$PID")
        stop
        echo "floor_cpu_s_$pair $(cpu_s "$c0" "$c1")" >>"$WORK/desktop.txt"
    done

    # 4. The ending.
    start_game ending
    wait_for "$WORK/ending.err" "sevenchips-bench: finished" 40
    stop
    {
        echo "ending_wall_us $(( $(mark "$WORK/ending.err" finished 3) - $(mark "$WORK/ending.err" ending 3) ))"
        echo "ending_cpu_us $(( $(mark "$WORK/ending.err" finished 4) - $(mark "$WORK/ending.err" ending 4) ))"
        echo "startup_us $(cat "$WORK/startup_us")"
    } >>"$WORK/desktop.txt"
    exit 0
fi

# ---- the driver ----
BUILD=${1:-$ROOT/build-bench}
SECONDS_RUN=${BENCH_SECONDS:-60}
# Figure 3 compares 20 s of battle, and figure 11 the same 20 s in the browser.
PAIR_SECONDS=$(( SECONDS_RUN < 20 ? SECONDS_RUN : 20 ))
WEB_SECONDS=$PAIR_SECONDS
WEB=${SEVENCHIPS_WEB_BUILD:-$ROOT/build-web}
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DSEVENCHIPS_BENCH=ON -DSEVENCHIPS_TESTS=OFF \
    -DSEVENCHIPS_PAINTER=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target sevenchips sevenchips-replay headless_bench floor game_data >/dev/null

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/app"
cp "$BUILD/game/sevenchips" "$WORK/app/"
cp -r "$BUILD/game/bg" "$BUILD/game/se" "$WORK/app/"

echo "bench: replaying demo/win.keys headless (5 runs)" >&2
"$BUILD/bench/headless_bench" --keys "$ROOT/demo/win.keys" --app-dir "$WORK/headless" --runs 5 >"$WORK/headless.txt"
echo "bench: the real program and the floor under Xvfb (about $((2 * SECONDS_RUN + 4 * WEB_SECONDS + 40)) s)" >&2
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" --under-x "$BUILD" "$WORK" "$SECONDS_RUN"
: >"$WORK/web.txt"
if [ -f "$WEB/site/index.html" ]; then
    echo "bench: the web edition in headless Chromium (about $((16 * (WEB_SECONDS + 28) + 70)) s)" >&2
    PLAYWRIGHT_CORE=$(bash "$ROOT/tools/web/playwright.sh") \
        node "$ROOT/bench/web.mjs" "$WEB/site" "$WEB" "$BUILD/game/sevenchips-replay" "$WEB_SECONDS" >"$WORK/web.txt"
fi

python3 - "$WORK/battle.jsonl" >>"$WORK/desktop.txt" <<'EOF'
import json, sys
ticks = [e for e in map(json.loads, open(sys.argv[1])) if e["event"] == "tick"]
gaps = [(b["ms"] - a["ms"], {5, 6, 7, 10} & set(a["sounds"] + b["sounds"])) for a, b in zip(ticks, ticks[1:])]
kept = [g for i, (g, wait) in enumerate(gaps) if not wait and g < 200 and (i == 0 or gaps[i - 1][0] < 200)]
print(f"tick_ms_mean {sum(kept) / max(len(kept), 1):.2f}\ntick_intervals {len(kept)}")
EOF
value() { awk -v k="$1" '$1 == k {print $2}' "$WORK/headless.txt" "$WORK/desktop.txt" "$WORK/web.txt"; }
[ "$(value ticks)" = 3377 ] && [ "$(value enemy)" = 8 ] && [ "$(value mode)" = 2 ] || {
    echo "bench: the replay did not finish the game at tick 3377:" >&2
    cat "$WORK/headless.txt" >&2
    exit 1
}

failed=0
web_runs=""
row() {  # FIGURE MEASURED TARGET PASSED(0/1)
    local verdict=pass
    [ "$4" = 1 ] || { verdict=FAIL; failed=1; }
    printf '%-44s %-26s %-22s %s\n' "$1" "$2" "$3" "$verdict"
}
ok() { awk "BEGIN {exit !($1)}" && echo 1 || echo 0; }

rate=$(value ticks_per_s_median)
# Figure 2: a tick's cost as a share of the battle clock's period (Timer2's interval).
PERIOD_MS=100
p99_ms=$(awk -v u="$(value tick_us_p99)" 'BEGIN {printf "%.2f", u / 1000}')
max_ms=$(awk -v u="$(value tick_us_max)" 'BEGIN {printf "%.2f", u / 1000}')
p99_share=$(awk -v m="$p99_ms" -v p="$PERIOD_MS" 'BEGIN {printf "%.1f", 100 * m / p}')
max_share=$(awk -v m="$max_ms" -v p="$PERIOD_MS" 'BEGIN {printf "%.1f", 100 * m / p}')
# Figure 3: the three pairs by their ratio, the middle one shown.
pairs=$(for i in 1 2 3; do echo "$(value "game_cpu_s_$i") $(value "floor_cpu_s_$i")"; done |
    awk '{printf "%.4f %s %s\n", ($2 > 0 ? $1 / $2 : 99), $1, $2}' | sort -n)
read -r ratio game_cpu floor_cpu <<<"$(sed -n 2p <<<"$pairs")"
ratio=$(printf '%.2f' "$ratio")
ratios=$(awk '{printf "%s%.2f", (NR > 1 ? " " : ""), $1}' <<<"$pairs")
ending=$(awk -v c="$(value ending_cpu_us)" -v w="$(value ending_wall_us)" 'BEGIN {printf "%.1f", 100 * c / w}')
ending_s=$(awk -v w="$(value ending_wall_us)" 'BEGIN {printf "%.1f", w / 1e6}')
startup=$(awk -v u="$(value startup_us)" 'BEGIN {printf "%.0f", u / 1000}')
game_mb=$(awk -v k="$(value game_peak_kb)" 'BEGIN {printf "%.1f", k / 1024}')
floor_mb=$(awk -v k="$(value floor_peak_kb)" 'BEGIN {printf "%.1f", k / 1024}')
extra_mb=$(awk -v g="$game_mb" -v f="$floor_mb" 'BEGIN {printf "%+.1f", g - f}')
tick_ms=$(value tick_ms_mean) intervals=$(value tick_intervals)

printf '%-44s %-26s %-22s %s\n' figure measured target result
row "1 headless throughput (median of 5)" "$rate ticks/s" ">= 20000 ticks/s" "$(ok "$rate >= 20000")"
row "2 tick p99 / worst, share of ${PERIOD_MS} ms" "$p99_ms / $max_ms ms = $p99_share / $max_share %" "<= 1 / <= 5 %" "$(ok "$p99_share <= 1 && $max_share <= 5")"
row "3 CPU, ${PAIR_SECONDS} s of battle: game / floor, median" "$game_cpu / $floor_cpu s = $ratio" "ratio <= 1.15" "$(ok "$ratio <= 1.15")"
row "4 CPU during the ending (${ending_s} s)" "$ending % of a core" "<= 5 %" "$(ok "$ending <= 5")"
row "5 start-up: exec to signboard (median of 5)" "$startup ms" "<= 150 ms" "$(ok "$startup <= 150")"
row "6 peak RSS: game / floor" "$game_mb / $floor_mb MB ($extra_mb)" "<= floor + 40 MB" "$(ok "$game_mb <= $floor_mb + 40")"
row "7 battle clock: mean of $intervals intervals" "$tick_ms ms" "100 ms +- 0.5 %" "$(ok "$tick_ms >= 99.5 && $tick_ms <= 100.5")"
if [ -s "$WORK/web.txt" ]; then
    start=$(value web_start_ms) sign=$(value web_sign_ms)
    mb=$(awk -v b="$(value web_bytes)" 'BEGIN {printf "%.2f", b / 1e6}')
    gz=$(awk -v b="$(value web_gzip_bytes)" 'BEGIN {printf "%.2f", b / 1e6}')
    # Figure 11: the pair with the median ratio; the sound's share beside it.
    web_cpu=$(value web_cpu_s) web_floor_cpu=$(value web_floor_cpu_s)
    cpu_ratio=$(awk -v w="$web_cpu" -v f="$web_floor_cpu" 'BEGIN {printf "%.2f", (f > 0 ? w / f : 99)}')
    sound_extra=$(awk -v a="$(value web_sound_cpu_s)" -v b="$(value web_silent_cpu_s)" 'BEGIN {printf "%+.2f", a - b}')
    web_runs="; figure 11's pairs, page/floor: $(value web_cpu_pairs | tr , ' ') s; the page with its sound:"
    web_runs+=" $(value web_sound_cpu_runs | tr , ' ') s, median $(value web_sound_cpu_s) against $(value web_silent_cpu_s) silent ($sound_extra s)"
    pictures=$(value web_pictures_cpu_s)
    web_runs+="; figure 11's page against its own pictures without the game (its $(value web_made_per_s) puts a second put again on the floor's canvas):"
    web_runs+=" $(value web_pictures_cpu_runs | tr , ' ') s, median $pictures: page / pictures $(awk -v w="$web_cpu" -v p="$pictures" 'BEGIN {printf "%.2f", (p > 0 ? w / p : 99)}'), pictures / floor $(awk -v p="$pictures" -v f="$web_floor_cpu" 'BEGIN {printf "%.2f", (f > 0 ? p / f : 99)}')"
    web_runs+="; figure 11's page without the Gamepad API: $(value web_nopad_cpu_runs | tr , ' ') s, median $(value web_nopad_cpu_s)"
    web_runs+="; figure 13's seeks: $(value web_seek_runs | tr , ' ') ms"
    seek=$(value web_seek_ms) replay_ms=$(value web_replay_ms)
    seek_ratio=$(awk -v s="$seek" -v r="$replay_ms" 'BEGIN {printf "%.2f", (r > 0 ? s / r : 99)}')
    web_tps=$(value web_replay_tps) native_tps=$(value native_replay_tps)
    share=$(awk -v w="$web_tps" -v n="$native_tps" 'BEGIN {printf "%.0f", 100 * w / n}')
    row "8 web: navigation to start screen (median 5)" "$start ms" "<= 1500 ms" "$(ok "$start <= 1500")"
    row "9 web: first key to signboard (median 5)" "$sign ms" "<= 500 ms" "$(ok "$sign <= 500")"
    row "10 web: site, all files / gzipped" "$mb / $gz MB" "<= 6 / 3.5 MB" "$(ok "$mb <= 6 && $gz <= 3.5")"
    row "11 web: CPU in ${WEB_SECONDS} s of battle: page / floor" "$web_cpu / $web_floor_cpu s = $cpu_ratio" "ratio <= 1.25" "$(ok "$cpu_ratio <= 1.25")"
    row "12 web: win.keys replay, browser / native" "$web_tps / $native_tps ticks/s = $share %" ">= 30 %" "$(ok "$share >= 30")"
    row "13 web: seek to win.keys' end / its replay" "$seek / $replay_ms ms = $seek_ratio" "ratio <= 1.5" "$(ok "$seek_ratio <= 1.5")"
else
    echo "(no web edition in $WEB/site: ./dev web builds it; rows 8-13 left out)"
fi
echo "(headless pinned to one core; desktop under one Xvfb 1024x768x24, SDL_AUDIODRIVER=disk to /dev/null," \
    "game and floor one after the other, renderer: $(value renderer); figure 3's pairs: $ratios$web_runs)"
exit "$failed"
