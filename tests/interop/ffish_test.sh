#!/usr/bin/env bash
# Random games of the project's own tool, exported in coordinates and in WXF, replayed
# through Fairy-Stockfish (npm ffish) by ffish_referee.js. The npm packages are
# installed beside WORK. Then games that ffish plays from random positions are read back
# by READ_GAMES.
# usage: ffish_test.sh TOOL WORK READ_GAMES
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tool=$1 work=$2 reader=$3
source "$here/interop_lib.sh"
npm_packages "$work"
mkdir -p "$work"
# Some moves into check that a player had no need to make: the common rules refuse them.
"$tool" random --seed 7 --careless 2 --plies 300 300 >"$work/games.vrd5"
"$tool" export "$work/games.vrd5" >"$work/coordinates.pgn"
"$tool" export --wxf "$work/games.vrd5" >"$work/wxf.pgn"
node "$here/ffish_referee.js" "$work/coordinates.pgn" "$work/wxf.pgn"
node "$here/ffish_reader.js" "$reader" "$work"
