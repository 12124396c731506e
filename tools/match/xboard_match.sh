#!/usr/bin/env bash
# Plays ravenquill-engine against MaxQi inside XBoard on a virtual display, colours
# alternating, and prints one line per game: its number, Ravenquill's colour, the result
# and XBoard's reason. The PGN and XBoard's protocol log stay in OUTDIR.
#
# usage: xboard_match.sh ENGINE OUTDIR GAMES TIMECONTROL [DIFFICULTY] [MAXMOVES]
#   TIMECONTROL as XBoard takes it ("0:20", "1"), for the whole game (no moves per session),
#   or "st=0:01" for a fixed time per move;
#   MAXMOVES: moves of each side after which XBoard scores the game a draw (0: never).
# From the environment: INCREMENT adds seconds to each side's clock after every move (a
# game clock only; engines that ignore "st", such as Fairy-Stockfish in xboard mode, keep
# to a clock); TIME_ODDS divides the opponent's time by that factor (Ravenquill's old levels
# keep their own pace on a long clock while the opponent plays fast); ENGINE_OPTIONS
# replaces "Difficulty=N" (XBoard's "name=value,..."); ADJUDICATE=N ends a game as lost once
# both engines have agreed for six plies that one side is N or more behind (each in its own
# units: Ravenquill's chariot is 600), so a decided game does not play on to the end;
# OPPONENT is another xboard engine's command and OPPONENT_OPTIONS its options; OPENINGS a
# file of FEN lines, each played twice with the colours swapped.
# PROTOCOL=uci or PROTOCOL=ucci in the environment puts Debian's adapter uci2wb between XBoard
# and the engine, speaking UCI (XBoard's -fUCI; told -c, it uses the Cyclone dialect of Xiangqi
# engines) or UCCI (-fUCCI) to it; its log of the engine's lines goes into XBoard's.
set -euo pipefail

if [ $# -lt 4 ]; then
  sed -n '2,21p' "$0" >&2
  exit 2
fi
engine=$(readlink -f "$1")
outdir=$2
games=$3
tc=$4
difficulty=${5:-1}
maxmoves=${6:-0}
xboard=${XBOARD:-/usr/games/xboard}
opponent=${OPPONENT:-${MAXQI:-/usr/games/maxqi}}
engine_options=${ENGINE_OPTIONS:-Difficulty=$difficulty}

for tool in "$xboard" "${opponent%% *}" Xvfb xvfb-run; do
  command -v "$tool" >/dev/null || { echo "xboard_match: $tool is missing (scripts/setup.sh tools/match/packages.txt installs it)" >&2; exit 3; }
done

clock=(-tc "$tc" -mps 0 -inc "${INCREMENT:-0}")
[[ $tc == st=* ]] && clock=(-searchTime "${tc#st=}")
extra=()
[ -n "${OPPONENT_OPTIONS:-}" ] && extra+=(-secondOptions "$OPPONENT_OPTIONS")
[ -n "${TIME_ODDS:-}" ] && extra+=(-secondTimeOdds "$TIME_ODDS")
[ -n "${ADJUDICATE:-}" ] && extra+=(-adjudicateLossThreshold "-${ADJUDICATE#-}")  # XBoard takes it negative
[ -n "${OPENINGS:-}" ] && extra+=(-loadPositionFile "$(readlink -f "$OPENINGS")" -loadPositionIndex -2)
uci2wb=${UCI2WB:-/usr/games/uci2wb}
case ${PROTOCOL:-xboard} in
  xboard) protocol=() ;;
  uci) protocol=(-fUCI -adapterCommand "$uci2wb debug -c \"%fcp\" \"%fd\"") ;;
  ucci) protocol=(-fUCCI -uxiAdapter "$uci2wb debug -x \"%fcp\" \"%fd\"") ;;
  *) echo "xboard_match: PROTOCOL is xboard, uci or ucci, not $PROTOCOL" >&2; exit 2 ;;
esac
if [ ${#protocol[@]} -gt 0 ] && ! command -v "$uci2wb" >/dev/null; then
  echo "xboard_match: $uci2wb is missing (scripts/setup.sh tools/match/packages.txt installs it)" >&2
  exit 3
fi

mkdir -p "$outdir/home"
outdir=$(readlink -f "$outdir")
rm -f "$outdir/match.pgn" "$outdir/xboard.debug"

# A private HOME keeps XBoard from reading or saving anyone's settings.
HOME="$outdir/home" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$xboard" -variant xiangqi \
  -fcp "$engine" -fd "$outdir" -firstOptions "$engine_options" ${protocol[@]+"${protocol[@]}"} \
  -scp "$opponent" -sd "$outdir" "${extra[@]}" \
  -matchMode true -matchGames "$games" -matchPause 300 \
  "${clock[@]}" -autoCallFlag true -ponderNextMove false \
  -adjudicateDrawMoves "$maxmoves" -testClaims true -checkMates true \
  -saveGameFile "$outdir/match.pgn" -debugMode true -nameOfDebugFile "$outdir/xboard.debug" \
  -popupExitMessage false -popupMoveErrors false -saveSettingsOnExit false -soundProgram true \
  >"$outdir/xboard.out" 2>&1 || true

if [ ! -s "$outdir/match.pgn" ]; then
  echo "xboard_match: no games were saved; see $outdir/xboard.out" >&2
  exit 1
fi

# One line per game: number, our colour, result, reason.
awk '
  /^\[White "/  { red = $0 }
  /^\[Result "/ { split($0, a, "\""); result = a[2] }
  /^\{.*\} *(1-0|0-1|1\/2-1\/2|\*) *$/ || /(1-0|0-1|1\/2-1\/2|\*) *$/ && !/^\[/ {
    reason = $0; sub(/^.*\{/, "", reason); sub(/\}.*$/, "", reason)
    if (result != "") {
      # XBoard names red "White".
      colour = (red ~ /Ravenquill/) ? "red" : "black"
      printf "game %d %s %s %s\n", ++n, colour, result, reason
      result = ""
    }
  }' "$outdir/match.pgn"
