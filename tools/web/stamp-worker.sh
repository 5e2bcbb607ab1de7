#!/usr/bin/env bash
# Writes the site's service worker, SITE_DIR/sw.js: the worker's source below the build's
# version and the SHA-256 of every other file of the site. The version is a hash of those
# files and of the worker's source, so any change in either makes a new build the browser
# fetches whole. Prints the version.
# Usage: stamp-worker.sh SITE_DIR WORKER_SOURCE
set -euo pipefail
SITE=$1 SOURCE=$2
files=$(cd "$SITE" && find . -type f ! -path ./sw.js | sed 's|^\./||' | LC_ALL=C sort | xargs -d '\n' sha256sum)
version=$( (echo "$files"; sha256sum <"$SOURCE") | sha256sum | cut -c1-12)
{
  printf 'self.BUILD = {\n  "version": "%s",\n  "files": {\n' "$version"
  awk '{ printf "%s    \"%s\": \"%s\"", (NR > 1 ? ",\n" : ""), $2, $1 }' <<<"$files"
  printf '\n  }\n};\n'
  cat "$SOURCE"
} >"$SITE/sw.js.new"
mv "$SITE/sw.js.new" "$SITE/sw.js"
echo "$version"
