#!/usr/bin/env bash
# Plays ravenquill-engine against a reference engine inside XBoard on a virtual display, one
# game at a time, from the openings of openings.fen (each twice, colours swapped), and prints
# every game, then wins, draws and losses with an Elo estimate, its 95% error, and the longest
# time Ravenquill took for a move as XBoard saw it.
#
# usage: elo_match.sh ENGINE OUTDIR GAMES TIMECONTROL ENGINE_OPTIONS OPPONENT [OPPONENT_OPTIONS]
#   TIMECONTROL as xboard_match.sh takes it ("st=0:01" is one second a move);
#   ENGINE_OPTIONS as XBoard's "name=value,..." ("Difficulty=7", "StrongSearch=0,Difficulty=1");
#   OPPONENT: maxqi, sjaakii, fairy-stockfish or an xboard engine's command;
#   OPPONENT_OPTIONS likewise ("Skill Level=0" or "UCI_LimitStrength=1,UCI_Elo=1500").
#   e.g. elo_match.sh build/src/engine/ravenquill-engine out 20 st=0:01 Difficulty=7 sjaakii
set -euo pipefail

if [ $# -lt 6 ]; then
  sed -n '2,13p' "$0" >&2
  exit 2
fi
here=$(dirname "$(readlink -f "$0")")
engine=$1 outdir=$2 games=$3 tc=$4 options=$5 opponent=$6 opponent_options=${7:-}
case $opponent in
  maxqi | sjaakii | fairy-stockfish) opponent=/usr/games/$opponent ;;
esac

mkdir -p "$outdir"
start=$(date +%s)
# Games longer than 150 moves a side are scored drawn so a shuffling game cannot run on.
OPPONENT=$opponent OPPONENT_OPTIONS=$opponent_options ENGINE_OPTIONS=$options \
  OPENINGS=${OPENINGS:-$here/openings.fen} \
  "$here/xboard_match.sh" "$engine" "$outdir" "$games" "$tc" 1 150 | tee "$outdir/games.txt"

# XBoard's debug log stamps every line in milliseconds: a move's time runs from the last line
# sent to Ravenquill ("first") to its move.
longest=$(awk '
  / >first : /       { sent = $1 }
  / <first : move /  { if (sent != "" && $1 - sent > max) max = $1 - sent }
  END { print max + 0 }' "$outdir/xboard.debug")

awk -v seconds=$(( $(date +%s) - start )) -v longest="$longest" -v options="$options" -v opponent="$opponent $opponent_options" '
  { n++; r = $4; c = $3
    if (r == "1/2-1/2") d++
    else if ((r == "1-0" && c == "red") || (r == "0-1" && c == "black")) w++
    else if (r == "1-0" || r == "0-1") l++
    else u++ }
  function elo(p) { return p <= 0 ? -1000 : p >= 1 ? 1000 : -400 * log(1 / p - 1) / log(10) }
  END {
    m = w + d + l
    p = m ? (w + d / 2) / m : 0
    # The spread of one game'"'"'s score gives the error of the mean, and through it of the Elo.
    v = m ? (w * (1 - p) ^ 2 + d * (0.5 - p) ^ 2 + l * p ^ 2) / m : 0
    e = m ? 1.96 * sqrt(v / m) : 0
    printf "%s against %s: %d games, +%d =%d -%d (unfinished %d), score %.1f%%, Elo %+.0f +%.0f/-%.0f, longest move %d ms, %d s\n",
           options, opponent, n, w, d, l, u, 100 * p, elo(p), elo(p + e) - elo(p), elo(p) - elo(p - e), longest, seconds
  }' "$outdir/games.txt" | tee -a "$(dirname "$outdir")/summary.txt"
