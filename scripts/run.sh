#!/usr/bin/env bash
# Sets up the machine, builds Ravenquill and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
exec ./build/src/tools/ravenquill-tool perft --divide 3
