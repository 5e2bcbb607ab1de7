#!/usr/bin/env bash
# Every include in src/ points down or sideways in the order of layers below (lowest 0): a file
# may include its own layer and those below it, never one above. SDL stays in the desktop
# platforms (desktop, and common: the sound the desktop and the web share) and the programs,
# fontconfig out of the pixels (a web build lacks it).
# Usage: tests/layers.sh SOURCE_DIR
set -uo pipefail
declare -A LAYER=([pixels]=0 [words]=1 [core]=1 [shell]=2 [sound]=2 [draw]=2 [battle]=2 [progress]=2 [runs]=3
    [platform/fonts]=4 [platform/web/fonts]=4 [platform/common]=4
    [platform/headless]=5 [platform/desktop]=5 [platform/web]=5 [app]=6)
faults=0
fault() { echo "layers: $*"; faults=$((faults + 1)); }
cd "$1/src" || exit 1
for file in $(find . -name '*.[ch]pp' | sed 's|^\./||' | sort); do
    dir=$(dirname "$file")
    own=${LAYER[$dir]:-}
    [ -n "$own" ] || { fault "$file: the folder $dir is in no layer"; continue; }
    for target in $(sed -n 's/^#include "\(.*\)\/[^/]*"$/\1/p' "$file"); do
        [ "${LAYER[$target]:-99}" -le "$own" ] || fault "$file includes $target, above it"
    done
    case $dir in platform/desktop | platform/common | app) ;; *) grep -q '^#include <SDL' "$file" && fault "$file includes SDL" ;; esac
    [ "$own" != 0 ] || ! grep -q '^#include <fontconfig' "$file" || fault "$file includes fontconfig"
done
[ "$faults" = 0 ] || exit 1
echo "layers: every include points down"
