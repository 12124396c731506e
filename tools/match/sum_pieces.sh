#!/usr/bin/env bash
# Adds up the pieces that match_pieces.sh played: for each NAME, the games of OUTROOT/NAME-oNN
# with their Elo estimate, and Ravenquill's answers (how many, the median, the 95th percentile
# and the longest, in ms).
#
# usage: sum_pieces.sh OUTROOT NAME...
set -euo pipefail
shopt -s nullglob

if [ $# -lt 2 ]; then
  sed -n '2,6p' "$0" >&2
  exit 2
fi
here=$(dirname "$(readlink -f "$0")")
root=$1
shift
for name in "$@"; do
  pieces=() games=()
  for dir in "$root/$name"-o[0-9][0-9]; do
    # A piece cut off before its end is left out, so that each opening counts with both colours.
    [ "$(wc -l <"$dir/match/games.txt" 2>/dev/null || echo 0)" -eq 2 ] || continue
    pieces+=("$dir")
    games+=("$dir/match/games.txt")
  done
  if [ ${#pieces[@]} -eq 0 ]; then
    echo "$name: no whole pieces"
    continue
  fi
  answers=$(for dir in "${pieces[@]}"; do awk -f "$here/answer_times.awk" "$dir/match/xboard.debug"; done |
    sort -n | awk '{ a[NR] = $1 } END { printf "%d answers, median %d, 95th percentile %d, longest %d ms",
                                               NR, a[int(NR / 2) + 1], a[int(NR * 0.95)], a[NR] }')
  awk -v prefix="$name (${#pieces[@]} pieces)" -v suffix="; $answers" -f "$here/score.awk" "${games[@]}"
done
