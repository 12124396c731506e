#!/usr/bin/env bash
# Exported games that ended by taking a general, loaded into XBoard on a virtual display:
# XBoard must take every move and keep the players and the result, as its own copy of the
# loaded game (Edit > Copy Game, read back with xclip) shows. One game where the loser had
# only moves into check, one where a player moved into check without need.
# usage: xboard_pgn_test.sh TOOL WORK
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tool=$1 work=$2
source "$here/interop_lib.sh"
xboard=${XBOARD:-/usr/games/xboard}
need "$xboard" Xvfb xdotool xclip
rm -rf "$work" && mkdir -p "$work/home"
XVFB_PID="" XBOARD_PID=""
trap 'for pid in $XBOARD_PID $XVFB_PID; do kill "$pid" 2>/dev/null || true; done' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
until_ok() { for _ in $(seq "$2"); do eval "$1" && return 0; sleep 0.1; done; return 1; }

"$tool" random --seed 7 --careless 2 --plies 300 200 >"$work/games.vrd5"
"$tool" export "$work/games.vrd5" >"$work/all.pgn"
# The first game whose last comment matches $1, alone in $2.
pick() {
  awk -v want="$1" '/^\[Game /{ if (game ~ want) exit; game = "" } { game = game $0 "\n" }
                    END { if (game ~ want) printf "%s", game }' "$work/all.pgn" >"$2"
  [ -s "$2" ] || fail "no exported game /$1/"
}
# Moves of a PGN's move text: comments, move numbers and the result left out.
moves_of() {
  sed '/^\[/d' "$1" | tr '\n' ' ' | sed 's/{[^}]*}//g' | tr ' ' '\n' |
    grep -cvE '^$|^[0-9]+\.(\.\.)?$|^(1-0|0-1|1/2-1/2|\*)$' || true
}

Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$work/display" 2>"$work/xvfb.log" & XVFB_PID=$!
until_ok '[ -s "$work/display" ]' 100 || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# The comment's words that pick the game, and what they mean.
for pair in "had only moves into check:the loser had only moves into check" \
            "which Ravenquill allows:a player moved into check without need"; do
  words=${pair%%:*} case=${pair#*:} game=$work/game.pgn
  pick "${words// /[ \\n]}" "$game"
  result=$(sed -n 's/^\[Result "\(.*\)"\]$/\1/p' "$game")
  rm -f "$work/xboard.debug"
  echo -n | xclip -selection clipboard
  HOME=$work/home "$xboard" -ncp -variant xiangqi -lgf "$game" -lgi 1 -debugMode true \
    -nameOfDebugFile "$work/xboard.debug" -popupExitMessage false -saveSettingsOnExit false \
    >"$work/xboard.out" 2>&1 & XBOARD_PID=$!
  until_ok 'xdotool search --onlyvisible --name "/game\.pgn$" >/dev/null 2>&1' 200 || fail "no XBoard window"
  window=$(xdotool search --onlyvisible --name "/game\.pgn$" | head -n1)
  sleep 1
  # XBoard's Copy Game, until the clipboard holds its copy.
  until_ok 'xdotool windowfocus --sync "$window" key --window "$window" ctrl+c; sleep 0.3;
            xclip -o -selection clipboard 2>/dev/null | grep -q "^\[Event"' 30 || fail "XBoard copied no game"
  xclip -o -selection clipboard >"$work/copied.pgn"
  kill "$XBOARD_PID"; wait "$XBOARD_PID" 2>/dev/null || true; XBOARD_PID=""
  name=$(echo "$case" | tr ' ' '-') && cp "$game" "$work/$name.pgn" && cp "$work/copied.pgn" "$work/$name.xboard.pgn"
  ! grep -n 'IllegalMove' "$work/xboard.debug" || fail "XBoard refuses a move of the game where $case"
  for tag in 'White "User"' 'Black "Ravenquill"' "Result \"$result\""; do
    grep -qxF "[$tag]" "$work/copied.pgn" || fail "XBoard's copy lacks [$tag] where $case: $(cat "$work/copied.pgn")"
  done
  ours=$(moves_of "$game") theirs=$(moves_of "$work/copied.pgn")
  [ "$ours" -gt 10 ] && [ "$ours" = "$theirs" ] || fail "XBoard keeps $theirs of the $ours moves where $case"
  echo "where $case: XBoard took all $ours moves, the players and the result $result"
done
