#!/usr/bin/env bash
# Puts the web edition's folder together: the page, the program, the effects, the music
# rendered ahead of time, the face cut down to the characters the game and page draw, the
# notices of what the folder ships, and what installs it and keeps it offline (a manifest,
# icons and a service worker stamped with the build's version).
# Usage: assemble-site.sh BUILD_DIR SOURCE_ROOT
# Writes BUILD_DIR/site/ (whole, or not at all).
set -euo pipefail
BUILD=$1
ROOT=$2
SITE=$BUILD/site
SOUNDFONT=/usr/share/sounds/sf2/FluidR3_GM.sf2  # the one render-music.sh renders with
FACE=/usr/share/fonts/truetype/horai-umefont/ume-pgo4.ttf  # the face the desktop prefers

rm -rf "$SITE.new"
mkdir -p "$SITE.new/se" "$SITE.new/bg" "$SITE.new/fonts" "$BUILD/rendered"
cp "$BUILD/game/sevenchips.js" "$BUILD/game/sevenchips.wasm" "$SITE.new/"
cp "$ROOT"/src/platform/web/page/{index.html,page.css,*.js} "$SITE.new/"
cp "$ROOT"/assets/se/*.wav "$SITE.new/se/"
cp "$ROOT/data/icons/hicolor/48x48/apps/sevenchips.png" "$SITE.new/icon.png"
# What makes the page an installable app that plays offline: the manifest and its icons, the
# storage and offline scripts (the service worker is written last, over every file).
mkdir -p "$SITE.new/icons"
cp "$ROOT"/src/platform/web/page/{manifest.webmanifest,storage.js,offline.js} "$SITE.new/"
cp "$ROOT"/data/icons/web/*.png "$SITE.new/icons/"

# The music: the piece the game plays, rendered as the desktop plays it (render-music.sh).
volume=$(sed -n 's/.*kMusicVolume = \([0-9]*\);.*/\1/p' "$ROOT/src/platform/common/mix_levels.hpp")
for piece in bg1; do
  mid=$ROOT/assets/bg/$piece.mid
  out=$BUILD/rendered/$piece-$volume-$(sha256sum "$mid" "$SOUNDFONT" "$ROOT/tools/web/render-music.sh" | sha256sum | cut -c1-12).ogg
  [ -s "$out" ] || bash "$ROOT/tools/web/render-music.sh" "$mid" "$volume" "$out"
  cp "$out" "$SITE.new/bg/$piece.ogg"
done

# The face, cut down; its hinting instructions and metrics stay as they are.
python3 "$ROOT/tools/web/face_characters.py" "$ROOT" >"$BUILD/face-characters.txt"
pyftsubset "$FACE" --text-file="$BUILD/face-characters.txt" --output-file="$SITE.new/fonts/face.ttf" \
  --hinting --notdef-outline --name-IDs='*' --name-languages='*' --layout-features='*' --no-prune-unicode-ranges \
  --no-recalc-bounds --no-recalc-timestamp 2>/dev/null

# What the page fetches into the program's memory before it starts, and the languages the
# program has (its own first, then each translation in po/).
languages=$( (echo ja; cd "$ROOT/po" && ls -- *.po | sed 's/\.po$//') | awk '{ printf "%s\"%s\"", (NR > 1 ? ", " : ""), $0 }')
{
  printf '{"font": "fonts/face.ttf", "languages": [%s], "files": [' "$languages"
  (cd "$SITE.new" && ls se/*.wav bg/*.ogg) | awk '{ printf "%s\"%s\"", (NR > 1 ? ", " : ""), $0 }'
  printf ']}\n'
} >"$SITE.new/data.json"

# Each shipped work's licence, from its Debian package.
cp /usr/share/doc/fonts-horai-umefont/copyright "$SITE.new/fonts/COPYRIGHT.txt"
cp /usr/share/doc/fluid-soundfont-gm/copyright "$SITE.new/bg/SOUNDFONT-COPYRIGHT.txt"
cat >"$SITE.new/NOTICE.txt" <<'NOTICE'
Seven Chips for the web browser.

The game's code, artwork, music and effects are under the MIT licence (LICENSE.txt).
fonts/face.ttf is Ume P Gothic (ume-pgo4.ttf from Debian's fonts-horai-umefont) cut down to
the characters the game draws; its free licence is in fonts/COPYRIGHT.txt.
bg/*.ogg are the game's MIDI pieces rendered with FluidSynth and the FluidR3_GM soundfont
(Debian's fluid-soundfont-gm, MIT licence: bg/SOUNDFONT-COPYRIGHT.txt).
NOTICE
cp "$ROOT/LICENSE" "$SITE.new/LICENSE.txt"

version=$(bash "$ROOT/tools/web/stamp-worker.sh" "$SITE.new" "$ROOT/src/platform/web/page/sw.js")
rm -rf "$SITE"
mv "$SITE.new" "$SITE"
echo "assemble-site: the site is build $version"
