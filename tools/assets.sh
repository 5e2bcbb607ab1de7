#!/usr/bin/env bash
# Paints the pictures, music and effects into OUT/assets and the icons into OUT/data/icons,
# and takes the software centre's screenshot into OUT/data/screenshots, with the programs
# built in BUILD. ./dev assets gives the source tree as OUT; a test gives a scratch folder.
# Usage: tools/assets.sh BUILD OUT [the painter's options]
set -euo pipefail
BUILD=$1 OUT=$2
shift 2
"$BUILD/tools/paint/sevenchips-paint" "$OUT" "$@"
# The winning game at tick 260, pilots in four rows.
mkdir -p "$OUT/data/screenshots"
"$BUILD/game/sevenchips-replay" --seed 1 --keys "$(dirname "$0")/../demo/win.keys" --ticks 260 \
  --shot "260:$OUT/data/screenshots/battle.png" --data-dir "$BUILD/screenshot-data"
