#!/usr/bin/env bash
# How much of the engine's thinking was thrown away in XBoard matches: for every move of
# "first", the time from XBoard's "go" or "usermove" to the engine's "move" (XBoard's log
# clock), less the time at which its last whole iteration ended (its last thinking line).
# What remains went to an iteration that was cut. Needs the engine to post (XBoard sends
# "post" in matches).
#
# usage: thrown_away.sh MATCHDIR...   (each holding the xboard.debug of xboard_match.sh)
set -euo pipefail
if [ $# -lt 1 ]; then
  sed -n '2,8p' "$0" >&2
  exit 2
fi
for dir in "$@"; do cat "$dir/xboard.debug"; done | awk '
  / >first : (usermove|go)/ { asked = $1 + 0; whole = 0; next }
  # A thinking line: ply, score, time in centiseconds, nodes, line.
  / <first : [0-9]+ -?[0-9]+ [0-9]+ [0-9]+/ { if (asked >= 0) whole = $6 * 10; next }
  / <first : move / {
    if (asked < 0) next
    spent = $1 - asked
    if (whole > spent) whole = spent
    total += spent; lost += spent - whole; moves++
    asked = -1
  }
  BEGIN { asked = -1 }
  END {
    if (moves == 0) { print "no moves of the first engine found"; exit 1 }
    printf "%d moves, %.1f s thinking, %.1f s in cut iterations: %.1f%% thrown away\n",
           moves, total / 1000, lost / 1000, 100 * lost / total
  }'
