#!/usr/bin/env bash
# The web edition's browser tests: tests/web/run.sh REPLAY_TOOL SITE_DIR
# REPLAY_TOOL is the native sevenchips-replay the page is compared with; SITE_DIR is what
# ./dev web built. Each tests/web/*.mjs file is one node process that serves the page and drives
# the browser, and stops its server and its browser itself; two run at a time (the pages mostly
# wait on the game's clock), each one's report printed whole when it ends. The work files stay in
# build-web/webtests/NAME/ for a look.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
REPLAY=$1 SITE=$2
WORK=$(dirname "$SITE")/webtests
rm -rf "$WORK"
PLAYWRIGHT_CORE=$(bash "$ROOT/tools/web/playwright.sh")
export PLAYWRIGHT_CORE
mkdir -p "$WORK"
export SITE REPLAY WORK
# shellcheck disable=SC2016
printf '%s\0' "$ROOT"/tests/web/*.mjs | xargs -0 -P2 -I{} bash -c '
  name=$(basename "$1" .mjs)
  node "$1" "$SITE" "$REPLAY" "$WORK/$name" >"$WORK/$name.tap" 2>&1
  status=$?
  cat "$WORK/$name.tap"
  [ "$status" = 0 ] || { echo "web: $name failed" >&2; exit 1; }' _ {}
