# Sourced by the web build's scripts: Debian's emscripten with a writable cache of its own.
# Debian ships the cache frozen under /usr/share; a copy beside the libraries lets emcc add
# what it builds on demand. EM_FROZEN_CACHE must be empty (any value counts as frozen).
WEB_CACHE=${SEVENCHIPS_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/sevenchips/web}
EM_VERSION=$(emcc --version | sed -n '1s/.* \([0-9][0-9.]*\).*/\1/p')
export EM_CACHE=$WEB_CACHE/emcache-$EM_VERSION
export EM_FROZEN_CACHE=
export NODE_PATH=/usr/share/nodejs
# emcc under ccache is untried here; the web build is small and cached by folder instead.
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
if [ ! -f "$EM_CACHE/.copied" ]; then
  mkdir -p "$WEB_CACHE"
  rm -rf "$EM_CACHE.tmp"
  cp -a /usr/share/emscripten/cache "$EM_CACHE.tmp"
  rm -f "$EM_CACHE.tmp/cache.lock"
  rm -rf "$EM_CACHE"
  mv "$EM_CACHE.tmp" "$EM_CACHE"
  touch "$EM_CACHE/.copied"
fi
