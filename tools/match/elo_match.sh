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
#   OPPONENT_OPTIONS likewise ("Skill Level=0" or "UCI_LimitStrength=1,UCI_Elo=1500"). Under a
#   short clock Fairy-Stockfish lives on its increment with 30 ms to spare and loses on time when
#   the machine is busy; "Move Overhead=300" keeps it a margin.
#   e.g. elo_match.sh build/src/engine/ravenquill-engine out 20 st=0:01 Difficulty=7 sjaakii
set -euo pipefail

if [ $# -lt 6 ]; then
  sed -n '2,14p' "$0" >&2
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

longest=$(awk -f "$here/answer_times.awk" "$outdir/xboard.debug" | sort -n | tail -1)
awk -v prefix="$options against $opponent $opponent_options" \
  -v suffix=", longest move ${longest:-0} ms, $(( $(date +%s) - start )) s" \
  -f "$here/score.awk" "$outdir/games.txt" | tee -a "$(dirname "$outdir")/summary.txt"
