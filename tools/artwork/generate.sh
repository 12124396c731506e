#!/usr/bin/env bash
# Redraws the game's artwork into the repository: Textures/*.tga, each interface language's
# Textures/LANG/*.tga (the menu's labels and the banners from po/LANG.po), arrowcop.cur,
# resources/ravenquill-icon.bmp and the desktop icons in resources/icons/. The results are
# committed; run this only to change them. Usage: tools/artwork/generate.sh [PREVIEW.tga]
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${RQ_ARTWORK_BUILD_DIR:-$ROOT/build-artwork}"

"$ROOT/scripts/setup.sh" "$ROOT/tools/artwork/packages.txt"

# The generator's folder is configured on its own, so none of the game's
# libraries need to be present.
cmake -S "$ROOT/tools/artwork" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" --target rq_artwork

# The catalogues, compiled as the game's build compiles them.
catalogs="$BUILD/locale"
for language in $(cat "$ROOT/po/LINGUAS"); do
  mkdir -p "$catalogs/$language/LC_MESSAGES"
  msgfmt --check -o "$catalogs/$language/LC_MESSAGES/ravenquill.mo" "$ROOT/po/$language.po"
done

if [ $# -ge 1 ]; then
  "$BUILD/rq_artwork" "$ROOT" "$catalogs" --preview "$1"
else
  "$BUILD/rq_artwork" "$ROOT" "$catalogs"
fi
echo "generate: wrote Textures/ (and Textures/LANG/), tools/artwork/drawn_words.txt, arrowcop.cur, resources/ravenquill-icon.bmp and resources/icons/ under $ROOT"
