#!/usr/bin/env bash
# Installs playwright-core from npm into the user's cache, once (it never downloads a browser:
# the tests and benchmarks drive Debian's chromium), and prints the folder to load it from.
set -euo pipefail
DIR=${SEVENCHIPS_NODE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/sevenchips/node}
if [ ! -f "$DIR/node_modules/playwright-core/package.json" ]; then
  mkdir -p "$DIR"
  npm install --prefix "$DIR" --no-audit --no-fund --no-save --silent playwright-core@1 >&2
fi
echo "$DIR/node_modules/playwright-core"
