#!/usr/bin/env bash
# The web edition's browser tests: tests/web/run.sh REPLAY_TOOL SITE_DIR
# REPLAY_TOOL is the native sevenchips-replay the page is compared with; SITE_DIR is what
# ./dev web built. Each tests/web/*.mjs file is one node process that serves the page and drives
# the browser, and stops its server and its browser itself; the work files stay in
# build-web/webtests/NAME/ for a look.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
REPLAY=$1 SITE=$2
WORK=$(dirname "$SITE")/webtests
rm -rf "$WORK"
PLAYWRIGHT_CORE=$(bash "$ROOT/tools/web/playwright.sh")
export PLAYWRIGHT_CORE
for file in "$ROOT"/tests/web/*.mjs; do
  node "$file" "$SITE" "$REPLAY" "$WORK/$(basename "$file" .mjs)"
done
