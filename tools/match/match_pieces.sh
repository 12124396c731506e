#!/usr/bin/env bash
# Plays a long match in pieces: takes lines off QUEUE one at a time and plays each as two games
# from one opening of openings.fen, colours swapped (elo_match.sh), in OUTROOT/NAME-oNN. Start
# one per core on the same QUEUE; each stops when QUEUE is empty or gone, so renaming it pauses
# them after their pieces. sum_pieces.sh adds the pieces up.
#
# usage: match_pieces.sh ENGINE QUEUE OUTROOT
#   a QUEUE line: NAME OPENING TIMECONTROL INCREMENT TIME_ODDS OPTIONS OPPONENT [OPPONENT_OPTIONS]
#   OPENING is a line number of openings.fen; TIMECONTROL, OPTIONS and OPPONENT as elo_match.sh
#   takes them, INCREMENT and TIME_ODDS as xboard_match.sh ("-" for none), OPPONENT_OPTIONS the
#   rest of the line. e.g. level 3 at its own pace, the opponent at 20 s plus 1 s a move:
#   l3-maxqi 2 60 180 180 StrongSearch=0,Difficulty=3 maxqi
set -euo pipefail

if [ $# -ne 3 ]; then
  sed -n '2,13p' "$0" >&2
  exit 2
fi
here=$(dirname "$(readlink -f "$0")")
engine=$(readlink -f "$1") queue=$(readlink -f "$2") root=$3
mkdir -p "$root"
root=$(readlink -f "$root")

# Takes the first line off the queue under a lock, so that runners sharing it never take the same.
take() {
  flock "$queue.lock" bash -c '
    [ -f "$1" ] || exit 0
    line=$(grep -v -m 1 -e "^[[:space:]]*#" -e "^[[:space:]]*$" "$1") || exit 0
    grep -v -x -F -e "$line" "$1" >"$1.new" || true
    mv "$1.new" "$1"
    echo "$line"' _ "$queue"
}

while line=$(take) && [ -n "$line" ]; do
  read -r name opening tc increment odds options opponent opponent_options <<<"$line"
  dir=$root/$(printf '%s-o%02d' "$name" "$opening")
  rm -rf "$dir"
  mkdir -p "$dir"
  sed -n "${opening}p" "$here/openings.fen" >"$dir/opening.fen"
  echo "$(date +%FT%T) start ${dir##*/}: $line" >>"$root/pieces.log"
  clock=()
  [ "$increment" != - ] && clock+=("INCREMENT=$increment")
  [ "$odds" != - ] && clock+=("TIME_ODDS=$odds")
  env ${clock[@]+"${clock[@]}"} OPENINGS="$dir/opening.fen" \
    "$here/elo_match.sh" "$engine" "$dir/match" 2 "$tc" "$options" "$opponent" "$opponent_options" \
    >"$dir/out.txt" 2>&1 || true
  echo "$(date +%FT%T) end ${dir##*/}: $(tail -1 "$dir/out.txt")" >>"$root/pieces.log"
done
