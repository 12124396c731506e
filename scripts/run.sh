#!/usr/bin/env bash
# Sets up the machine, builds Ravenquill and starts the game. The game reads its
# run-time data from, and keeps its settings and saved games in, its working directory:
# build/game/, with Textures/, Documentation/ and arrowcop.cur linked in, and the catalogues
# of the interface's languages (build/locale/) beside them.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target ravenquill rq_catalogs
mkdir -p build/game
ln -sfn "$root/build/locale" build/game/locale
for data in Textures Documentation arrowcop.cur; do
  ln -sfn "$root/$data" "build/game/$data"
done
cd build/game
exec "$root/build/src/shell/ravenquill" "$@"
