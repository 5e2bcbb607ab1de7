#!/usr/bin/env bash
# Builds the libraries the web edition links (zlib, libpng, FreeType) for
# emscripten from Debian's own source packages, static, into one prefix under the user's cache.
# The prefix is named by the source versions, emcc's version and this script's hash, so a
# second build finds it complete and returns at once. Prints the prefix on the last line.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/emenv.sh"
JOBS=${JOBS:-2}

# The source packages of what the game links below its platforms (the page plays the sound
# itself through the browser: no SDL2 or SDL2_mixer there). Debian's main archive (not the security
# archive, whose sources this mirror does not serve) through a private sources list and state:
# the machine's apt configuration and lists stay as they were.
SOURCES=(zlib libpng1.6 freetype)
APT_DIR=$WEB_CACHE/apt
APT=(-o Dir::Etc::SourceList="$APT_DIR/sources.list" -o Dir::Etc::SourceParts="$APT_DIR/parts"
  -o Dir::State::Lists="$APT_DIR/lists" -o Dir::State::status=/var/lib/dpkg/status -o Dir::Cache="$APT_DIR"
  -o Dir::Cache::archives="$APT_DIR/archives" -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
write_sources() {
  mkdir -p "$APT_DIR/lists/partial" "$APT_DIR/archives/partial" "$APT_DIR/parts"
  : >"$APT_DIR/parts/debian.sources"
  # deb-src twins of the machine's own Debian entries.
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^deb \(.*debian.org\/debian .*\)$/deb-src \1/p' "$f"
  done >"$APT_DIR/sources.list"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; ORS = "\n\n" } /URIs:[^\n]*debian.org\/debian(\n|$)/ {
      sub(/Types: deb\n/, "Types: deb-src\n"); print }' "$f" >>"$APT_DIR/parts/debian.sources"
  done
}
# The .dsc names say the versions the lists offer; no network needed once the lists are here.
versions() {
  apt-get "${APT[@]}" -qq source --print-uris "${SOURCES[@]}" 2>/dev/null | awk '$2 ~ /\.dsc$/ { print $2 }'
}
key() {
  printf '%s\n' "$@" "emcc $EM_VERSION" "$(sha256sum "$0" "$HERE/emenv.sh" | cut -c1-64)" | sha256sum | cut -c1-16
}
DSCS=$(versions || true)
if [ -n "$DSCS" ] && [ -f "$WEB_CACHE/libs-$(key $DSCS)/.complete" ]; then
  echo "$WEB_CACHE/libs-$(key $DSCS)"
  exit 0
fi
write_sources
apt-get "${APT[@]}" -qq update >&2
DSCS=$(versions)
KEY=$(key $DSCS)
PREFIX=$WEB_CACHE/libs-$KEY
if [ -f "$PREFIX/.complete" ]; then
  echo "$PREFIX"
  exit 0
fi
WORK=$WEB_CACHE/work-$KEY
rm -rf "$WORK" "$PREFIX"
mkdir -p "$WORK/src" "$PREFIX"
echo "web libs: fetching and building" $DSCS "(about 10 minutes on 2 cores)" >&2
(cd "$WORK/src" && apt-get "${APT[@]}" -qq source "${SOURCES[@]}" >&2)
src_dir() { find "$WORK/src" -maxdepth 1 -mindepth 1 -type d -name "$1-[0-9]*" | head -1; }

# FreeType flattens curves by forward differences on 64-bit x86 and ARM, by halving elsewhere,
# and the two give slightly different pixels. The browser's build takes the desktop's way
# (plain 64-bit arithmetic, no SIMD), so the text looks the same to the pixel.
grays=$(src_dir freetype)/src/smooth/ftgrays.c
grep -q '^#if FT_SSE2                || \\$' "$grays" || { echo "web libs: FreeType's ftgrays.c has changed" >&2; exit 1; }
sed -i 's/^#if FT_SSE2                || \\$/#if FT_SSE2 || defined( __wasm__ ) || \\/' "$grays"

log=$WORK/build.log
fail() { tail -30 "$log" >&2; echo "web libs: $1 did not build; see $log" >&2; exit 1; }
CM=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_PREFIX_PATH="$PREFIX"
  -DCMAKE_FIND_ROOT_PATH="$PREFIX" -DZLIB_LIBRARY="$PREFIX/lib/libz.a" -DZLIB_INCLUDE_DIR="$PREFIX/include")
cmake_lib() { # name source-dir flags...
  local name=$1 src=$2; shift 2
  echo "web libs: $name" >&2
  emcmake cmake -S "$src" -B "$WORK/build-$name" "${CM[@]}" "$@" >>"$log" 2>&1 || fail "$name"
  cmake --build "$WORK/build-$name" -j"$JOBS" >>"$log" 2>&1 || fail "$name"
  cmake --install "$WORK/build-$name" >>"$log" 2>&1 || fail "$name"
}
# zlib's CMake build wants a file Debian's source leaves out; its configure is fine.
echo "web libs: zlib" >&2
(cd "$(src_dir zlib)" && emconfigure ./configure --static --prefix="$PREFIX" && emmake make -j"$JOBS" libz.a \
  && emmake make install) >>"$log" 2>&1 || fail zlib
cmake_lib libpng "$(src_dir libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
cmake_lib freetype "$(src_dir freetype)" -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_HARFBUZZ=ON \
  -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON
printf '%s\n' $DSCS "emcc $EM_VERSION" >"$PREFIX/.complete"
rm -rf "$WORK"
echo "$PREFIX"
