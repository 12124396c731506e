#!/usr/bin/env bash
# Redraws the game's artwork into the repository: Textures/*.tga, arrowcop.cur,
# resources/ravenquill-icon.bmp and the desktop icons in resources/icons/. The results are committed; run this only to
# change them. Usage: tools/artwork/generate.sh [PREVIEW.tga]
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${RQ_ARTWORK_BUILD_DIR:-$ROOT/build-artwork}"

"$ROOT/scripts/setup.sh" "$ROOT/tools/artwork/packages.txt"

# The generator's folder is configured on its own, so none of the game's
# libraries need to be present.
cmake -S "$ROOT/tools/artwork" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" --target rq_artwork

if [ $# -ge 1 ]; then
  "$BUILD/rq_artwork" "$ROOT" --preview "$1"
else
  "$BUILD/rq_artwork" "$ROOT"
fi
echo "generate: wrote Textures/, arrowcop.cur, resources/ravenquill-icon.bmp and resources/icons/ under $ROOT"
