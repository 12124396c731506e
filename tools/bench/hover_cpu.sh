#!/bin/bash
# The game's CPU share while the pointer rests on a piece: Xvfb (bare, or under openbox),
# a 1024-by-1024 window, the pointer on red's left cannon, utime+stime of the whole
# process from /proc over the measured seconds. Prints the share and the machine's load.
# Usage: tools/bench/hover_cpu.sh PROGRAM [bare|openbox] [SECONDS] [rest]
#   "rest" leaves the pointer off the board, for the figure at rest.
#   RQ_HOVER_SHOT=FILE.png keeps a screenshot of the screen as the measurement starts.
set -euo pipefail
PROGRAM=$(realpath "${1:?usage: hover_cpu.sh PROGRAM [bare|openbox] [SECONDS] [rest]}")
DESKTOP=${2:-bare} SECONDS_MEASURED=${3:-60} WHERE=${4:-hover}
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d /tmp/rq-hover-XXXXXX) XVFB_PID="" WM_PID="" GAME_PID=""
finish() { for pid in $GAME_PID $WM_PID $XVFB_PID; do kill "$pid" 2>/dev/null || true; done; rm -rf "$WORK"; }
trap finish EXIT
until_ok() { for _ in $(seq "$2"); do eval "$1" && return 0; sleep 0.1; done; return 1; }

# Tall enough that the window keeps its full 1024 pixels under a frame and a title bar.
Xvfb -displayfd 9 -screen 0 1280x1200x24 -nolisten tcp -noreset 9>"$WORK/display" 2>/dev/null & XVFB_PID=$!
until_ok '[ -s "$WORK/display" ]' 100 || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$WORK/display")"
mkdir -m 700 "$WORK/run" && export XDG_RUNTIME_DIR="$WORK/run"
if [ "$DESKTOP" = openbox ]; then
  openbox --sm-disable >/dev/null 2>&1 & WM_PID=$!
  until_ok "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" 50 || { echo "no openbox" >&2; exit 1; }
fi
for data in Textures Documentation arrowcop.cur; do ln -s "$SOURCE/$data" "$WORK/$data"; done
NAME=$(hostname | cut -c1-15)
printf '%s = %s\n' HintAtStartup 0 HighlightMove 1 ShowMoves 1 ShowIllegalMoves 1 ExplainIllegalMoves 1 \
  AutoHideMenu 1 DifficultyLevel 0 HelpLanguage 0 >"$WORK/Settings_$NAME.rqs1"
(cd "$WORK" && exec "$PROGRAM") >"$WORK/game.log" 2>&1 & GAME_PID=$!
WINDOW=""
until_ok 'WINDOW=$(xdotool search --onlyvisible --name "^Ravenquill v1\.0$" 2>/dev/null | head -n1); [ -n "$WINDOW" ]' 300 ||
  { echo "no game window" >&2; exit 1; }
sleep 2
SIDE=$(xdotool getwindowgeometry --shell "$WINDOW" | awk -F= '/^HEIGHT=/ { print $2 }')
# Red's left cannon stands 242 scene units from the left, 770 from the top.
if [ "$WHERE" = rest ]; then xdotool mousemove 1270 1190; else
  xdotool mousemove --window "$WINDOW" $((242 * SIDE / 1024)) $((770 * SIDE / 1024)); fi
sleep 2
[ -z "${RQ_HOVER_SHOT:-}" ] || import -window root "$RQ_HOVER_SHOT"
ticks() { awk '{ print $14 + $15 }' "/proc/$GAME_PID/stat"; }
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
T0=$(ticks) START=$(date +%s.%N)
sleep "$SECONDS_MEASURED"
T1=$(ticks) END=$(date +%s.%N)
HZ=$(getconf CLK_TCK)
awk -v t="$((T1 - T0))" -v hz="$HZ" -v s="$START" -v e="$END" -v side="$SIDE" -v d="$DESKTOP" -v w="$WHERE" \
    -v l0="$LOAD_BEFORE" -v l1="$(cut -d' ' -f1-3 /proc/loadavg)" \
  'BEGIN { printf "%s, %s, %dx%d: %.1f%% of a core over %.0f s (load %s -> %s)\n", w, d, side, side, 100 * t / hz / (e - s), e - s, l0, l1 }'
