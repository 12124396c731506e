#!/usr/bin/env bash
# XBoard, hosting the engine, loads a game in which Sjaak II's advisor steps out of Ravenquill's
# chariot checks and its last step chases a piece: XBoard allows that step and the engine's own
# rules would not. The engine must take every move XBoard sends it, the last one too.
# usage: xboard_hosting_test.sh ENGINE WORK
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
engine=$(readlink -f "$1") work=$2
source "$here/interop_lib.sh"
xboard=${XBOARD:-/usr/games/xboard}
need "$xboard" xvfb-run
rm -rf "$work" && mkdir -p "$work/home"
fail() { echo "FAIL: $*" >&2; exit 1; }

cat >"$work/chase.pgn" <<'PGN'
[Event "Hosted"]
[White "Sjaak II"]
[Black "Ravenquill"]
[Result "*"]
[Variant "xiangqi"]
[FEN "rheakaer1/9/1c4hc1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C1H2/9/RHEAKAE1R w - - 0 1"]
[SetUp "1"]

g3g4 b7e7 b0c2 b9c7 c3c4 a9b9 b2b4 b9b5 i0h0 c6c5 c0a2 c5c4 a2c4 b5c5 e3e4 c5c4 g2e3 c4c3 h0h5 h7i7
b4c4 c9a7 h5f5 h9h0 g4g5 h0g0 g5h5 i7i3 f5f3 i3i0 f3f7 c7d5 c4d4 d5b4 f7g7 c3c2 e3c2 g0g1 f0e1 g1g0
e1f0 g0g1 f0e1 g1g0 e1f0 e7e4 c2e3 g0g2 f0e1 g2g0 e1f0 g0g2 f0e1 g2g0 e1f0 g0g2 f0e1 g2g0 e1f0 g0g2
f0e1 g2g0 e1f0 *
PGN
moves=$(sed '/^\[/d' "$work/chase.pgn" | tr ' ' '\n' | grep -c '^[a-i][0-9][a-i][0-9]$')

# XBoard sends the loaded moves to the engine at once; the wait ends when the last has had time
# for an answer, or XBoard gives up.
log=$work/xboard.debug
HOME=$work/home xvfb-run -a -s "-screen 0 1280x1024x24" "$xboard" -variant xiangqi -fcp "$engine" -fd "$work" \
  -lgf "$work/chase.pgn" -lgi 1 -timeDelay 0 -debugMode true -nameOfDebugFile "$log" \
  -popupExitMessage false -popupMoveErrors false -saveSettingsOnExit false >"$work/xboard.out" 2>&1 &
xboard_pid=$!
trap 'pkill -P "$xboard_pid" 2>/dev/null; kill "$xboard_pid" 2>/dev/null || true' EXIT
sent=0
for _ in $(seq 300); do
  sent=$(cat "$log" 2>/dev/null | grep -c '>first : usermove' || true)
  [ "$sent" -ge "$moves" ] && break
  sleep 0.1
done
sleep 1
[ "$sent" -eq "$moves" ] || fail "XBoard sent $sent of the game's $moves moves"
! grep '<first : Illegal' "$log" || fail "the engine refused a move XBoard allows"
echo "the engine took all $moves moves XBoard sent it"
