#!/usr/bin/env bash
# The web edition's browser tests: tests/web/run.sh REPLAY_TOOL SITE_DIR
# REPLAY_TOOL is the native sevenchips-replay the page is compared with; SITE_DIR is what
# ./dev web built. The page is served and driven from one node process, which stops its
# server and its browser itself; the work files stay in build-web/webtests/ for a look.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
REPLAY=$1 SITE=$2
WORK=$(dirname "$SITE")/webtests
rm -rf "$WORK"
PLAYWRIGHT_CORE=$(bash "$ROOT/tools/web/playwright.sh") node "$ROOT/tests/web/page.mjs" "$SITE" "$REPLAY" "$WORK"
