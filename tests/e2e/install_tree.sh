#!/usr/bin/env bash
# An installed copy finds its data in share/sevenchips, plays music, and quits on Escape.
set -u
BUILD=$1; SRC=$2
TMP=$(mktemp -d); trap 'rm -rf "$TMP"' EXIT
cmake --install "$BUILD" --prefix "$TMP/prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
for f in bin/sevenchips share/sevenchips/bg/bg1.mid share/sevenchips/se/se5.wav share/applications/sevenchips.desktop \
         share/icons/hicolor/64x64/apps/sevenchips.png share/man/man6/sevenchips.6; do
  [ -e "$TMP/prefix/$f" ] || { echo "FAIL: $f not installed"; exit 1; }
done
echo "ok: installed layout"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$TMP/audio.raw SDL_DISKAUDIODELAY=0
timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
. "'"$SRC"'/tests/e2e/common.inc"
"'"$TMP"'/prefix/bin/sevenchips" 2>/dev/null & pid=$!
wid=$(find_window) || fail "no window"
sleep 6
xdotool key --window "$wid" Escape
for _ in $(seq 1 10); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
wait $pid; status=$?
[ $status = 0 ] || fail "exit status $status"
' || exit 1
# The raw output is 16-bit stereo at 44100 Hz: it must carry sound (the start-up fanfare and music).
rms=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$TMP/audio.raw" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
echo "RMS amplitude of the recorded output: $rms"
awk -v r="$rms" 'BEGIN { exit !(r > 0.001) }' || { echo "FAIL: the installed game was silent"; exit 1; }
echo "ok: the installed copy played sound and quit with status 0"
