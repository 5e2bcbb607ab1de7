#!/usr/bin/env bash
# Every include in src/ points down or sideways in this order of layers, lowest first: a file
# may include its own layer and those below it, never one above. Also kept out: SDL from all
# but the desktop platform and the programs, fontconfig from the pixels (a web build lacks it).
# Usage: tests/layers.sh SOURCE_DIR
set -uo pipefail
SRC=${1:-$(dirname "$0")/..}
LAYERS=(
    "pixels"
    "core"
    "shell sound draw battle progress"
    "runs"
    "platform/fonts"
    "platform/headless platform/desktop"
    "app"
)

# The layer of a folder (a path under src/ without the file name), or -1.
layer_of() {
    local i folder
    for i in "${!LAYERS[@]}"; do
        for folder in ${LAYERS[$i]}; do
            [ "$1" = "$folder" ] && { echo "$i"; return; }
        done
    done
    echo -1
}

faults=0
cd "$SRC/src" || exit 1
while IFS= read -r file; do
    dir=$(dirname "$file")
    own=$(layer_of "$dir")
    [ "$own" -ge 0 ] || { echo "layers: $file: the folder $dir is in no layer"; faults=$((faults + 1)); continue; }
    while IFS= read -r line; do
        target=$(sed -n 's/^#include "\(.*\)\/[^/]*"$/\1/p' <<<"$line")
        [ -n "$target" ] || continue
        theirs=$(layer_of "$target")
        if [ "$theirs" -lt 0 ] || [ "$theirs" -gt "$own" ]; then
            echo "layers: $file includes $target, above it"
            faults=$((faults + 1))
        fi
    done < <(grep -h '^#include "' "$file")
    if [ "$dir" != platform/desktop ] && [ "$dir" != app ] && grep -q '^#include <SDL' "$file"; then
        echo "layers: $file includes SDL"
        faults=$((faults + 1))
    fi
    if [ "$own" -eq 0 ] && grep -q '^#include <fontconfig' "$file"; then
        echo "layers: $file includes fontconfig"
        faults=$((faults + 1))
    fi
done < <(find . -name '*.cpp' -o -name '*.hpp' | sed 's|^\./||' | sort)
[ "$faults" -eq 0 ] || exit 1
echo "layers: every include points down"
