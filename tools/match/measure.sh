#!/usr/bin/env bash
# The longer measured match: GAMES games against MaxQi at TIMECONTROL for each
# difficulty level given, one after the other; prints every game and Ravenquill's score.
#
# usage: measure.sh ENGINE OUTDIR GAMES TIMECONTROL LEVEL...
#   e.g. measure.sh build/src/engine/ravenquill-engine match-out 20 1 1 4
set -euo pipefail

if [ $# -lt 5 ]; then
  sed -n '2,6p' "$0" >&2
  exit 2
fi
here=$(dirname "$(readlink -f "$0")")
engine=$1 outdir=$2 games=$3 tc=$4
shift 4

for level in "$@"; do
  dir="$outdir/level$level"
  start=$(date +%s)
  # Games longer than 150 moves a side are scored drawn so a shuffling game cannot run on.
  "$here/xboard_match.sh" "$engine" "$dir" "$games" "$tc" "$level" 150 | tee "$dir.games"
  awk -v level="$level" -v seconds=$(( $(date +%s) - start )) '
    { n++; r = $4; c = $3
      if (r == "1/2-1/2") { d++; s += 0.5 }
      else if ((r == "1-0" && c == "red") || (r == "0-1" && c == "black")) { w++; s += 1 }
      else if (r == "1-0" || r == "0-1") l++
      else u++ }
    END { printf "level %s: %d games, +%d =%d -%d (unfinished %d), score %.1f/%d (%.0f%%), %d s\n",
                 level, n, w, d, l, u, s, n, n ? 100 * s / n : 0, seconds }' "$dir.games" | tee -a "$outdir/summary.txt"
done
