# Tallies games.txt lines of xboard_match.sh ("game N COLOUR RESULT REASON", COLOUR being
# Ravenquill's) and prints PREFIX: the games, wins, draws, losses, how many of those a flag
# decided, score and Elo with its 95% error, then SUFFIX.
# usage: awk -v prefix=... -v suffix=... -f score.awk games.txt...
# A win on time says nothing of the moves, so it is counted apart to be seen.
{ n++; r = $4; c = $3; flag = / on time$/
  if (r == "1/2-1/2") d++
  else if ((r == "1-0" && c == "red") || (r == "0-1" && c == "black")) { w++; wt += flag }
  else if (r == "1-0" || r == "0-1") { l++; lt += flag }
  else u++ }
function elo(p) { return p <= 0 ? -1000 : p >= 1 ? 1000 : -400 * log(1 / p - 1) / log(10) }
END {
  m = w + d + l
  p = m ? (w + d / 2) / m : 0
  # The spread of one game's score gives the error of the mean, and through it of the Elo.
  v = m ? (w * (1 - p) ^ 2 + d * (0.5 - p) ^ 2 + l * p ^ 2) / m : 0
  e = m ? 1.96 * sqrt(v / m) : 0
  printf "%s: %d games, +%d =%d -%d (unfinished %d, on time +%d -%d), score %.1f%%, Elo %+.0f +%.0f/-%.0f%s\n",
         prefix, n, w, d, l, u, wt, lt, 100 * p, elo(p), elo(p + e) - elo(p), elo(p) - elo(p - e), suffix
}
