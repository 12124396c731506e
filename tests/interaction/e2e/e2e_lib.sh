# Shared steps of the end-to-end tests: a private X display, the game in a fresh working
# directory, xdotool as the player and screenshots as artefacts. Sourced, not run.
set -euo pipefail

: "${RQ_PROGRAM:?path of the ravenquill program}"
: "${RQ_SOURCE:?the source tree, for the run-time data}"
: "${RQ_ARTIFACTS:?where screenshots and logs go}"

rm -rf "$RQ_ARTIFACTS"
mkdir -p "$RQ_ARTIFACTS"
WORK=$(mktemp -d /tmp/rq-e2e-XXXXXX)
NAME=$(hostname | cut -c1-15)
XVFB_PID=""
WM_PID=""
GAME_PID=""
GAME_WINDOW=""
SHOTS=0

log() { echo "[$(date +%T)] $*"; }

# Keeps the evidence, then stops what this test started (by process id only).
finish() {
  local status=$?
  if [ $status -ne 0 ]; then shot "failure" || true; fi
  cp "$WORK"/*.vrd5 "$WORK"/*.rqs1 "$WORK"/game.log "$RQ_ARTIFACTS"/ 2>/dev/null || true
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then kill "$GAME_PID" 2>/dev/null || true; fi
  if [ -n "$WM_PID" ]; then kill "$WM_PID" 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
  rm -rf "$WORK"
  exit $status
}
trap finish EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A private display of 1280 x 1024 (or the size given), numbered by Xvfb itself; it must
# not reset when the game, its last client, leaves between two sittings.
start_display() {
  local number_file="$WORK/display"
  Xvfb -displayfd 9 -screen 0 "${1:-1280x1024}x24" -nolisten tcp -noreset 9>"$number_file" 2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    sleep 0.1
  done
  [ -s "$number_file" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$number_file")"
  log "display $DISPLAY"
}

# openbox on the display, for focus, placement and the close button.
start_window_manager() {
  openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
  WM_PID=$!
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  fail "openbox did not start"
}

# The run-time data the program reads from its working directory.
prepare_work() {
  cp -r "$RQ_SOURCE/Textures" "$RQ_SOURCE/Documentation" "$RQ_SOURCE/arrowcop.cur" "$WORK"/
}

# Settings file with every option on, level 1 and English help, but those given as KEY=VALUE.
write_settings() {
  local key value
  for key in HintAtStartup HighlightMove ShowMoves ShowIllegalMoves ExplainIllegalMoves AutoHideMenu DifficultyLevel HelpLanguage; do
    value=1
    [ $key = HelpLanguage ] && value=0
    for pair in "$@"; do [ "${pair%%=*}" = "$key" ] && value=${pair#*=}; done
    echo "$key = $value"
  done >"$WORK/Settings_$NAME.rqs1"
}

# The first window whose name matches, waiting up to $2 seconds.
wait_window() {
  local pattern=$1 limit=${2:-20} id=""
  for _ in $(seq $((limit * 10))); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

window_exists() { [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)" ]; }

wait_no_window() {
  local pattern=$1 limit=${2:-10}
  for _ in $(seq $((limit * 10))); do
    window_exists "$pattern" || return 0
    sleep 0.1
  done
  return 1
}

start_game() {
  (cd "$WORK" && exec "$RQ_PROGRAM") >>"$WORK/game.log" 2>&1 &
  GAME_PID=$!
  log "game started, pid $GAME_PID"
}

# The main window, once the program shows it; sets GAME_WINDOW and the scale.
wait_game_window() {
  GAME_WINDOW=$(wait_window '^Ravenquill v1\.0$' 30) || fail "no game window"
  local height
  height=$(xdotool getwindowgeometry --shell "$GAME_WINDOW" | sed -n 's/^HEIGHT=//p')
  SCALE=$(awk -v h="$height" 'BEGIN { print h / 1024 }')
  sleep 0.5
}

wait_game_exit() {
  for _ in $(seq 300); do
    kill -0 "$GAME_PID" 2>/dev/null || { wait "$GAME_PID" || true; GAME_PID=""; return 0; }
    sleep 0.1
  done
  fail "the game did not end"
}

# Client pixel of a scene coordinate (scene units, y down from the top).
px() { awk -v v="$1" -v s="$SCALE" 'BEGIN { printf "%d", v * s + 0.5 }'; }

# Scene centre of a point such as "b2": files a-i, ranks 0-9 from red's side.
point_x() { local f=${1:0:1}; echo $((152 + 90 * ($(printf '%d' "'$f") - 97))); }
point_y() { local r=${1:1:1}; echo $((140 + 90 * (9 - r))); }

pointer_to() { xdotool mousemove --window "$GAME_WINDOW" "$(px "$1")" "$(px "$2")"; sleep 0.15; }

# Drags a red piece the way a hand does: press, travel, pause over the target, release.
drag() {
  local move=$1
  local from=${move:0:2} to=${move:2:2}
  pointer_to "$(point_x "$from")" "$(point_y "$from")"
  xdotool mousedown 1
  sleep 0.15
  pointer_to $(( ($(point_x "$from") + $(point_x "$to")) / 2 )) $(( ($(point_y "$from") + $(point_y "$to")) / 2 ))
  pointer_to "$(point_x "$to")" "$(point_y "$to")"
  sleep 0.2
  [ -n "${2:-}" ] && shot "$2"
  xdotool mouseup 1
  sleep 0.2
  log "dragged $move"
}

# Keyboard focus to a window; without a window manager it may need a second try.
focus() {
  for _ in 1 2 3 4 5; do
    xdotool windowfocus --sync "$1" 2>/dev/null && return 0
    sleep 0.2
  done
  return 1
}

# A key pressed over the game window and held long enough to span a frame.
game_key() {
  focus "$GAME_WINDOW" || true
  pointer_to 500 500
  xdotool keydown "$1"
  sleep 0.25
  xdotool keyup "$1"
  sleep 0.2
}

# Keys typed into a dialog window.
dialog_keys() {
  local id=$1
  shift
  focus "$id" || fail "cannot focus dialog $id"
  sleep 0.2
  xdotool key --delay 120 "$@"
  sleep 0.3
}

shot() {
  SHOTS=$((SHOTS + 1))
  import -window root "$RQ_ARTIFACTS/$(printf '%02d' "$SHOTS")-$1.png" 2>/dev/null || true
}

# Fails unless the file has a line exactly like $2.
expect_line() { grep -qxF -- "$2" "$1" || grep -qxF -- "$2"$'\r' "$1" || fail "$(basename "$1") lacks the line '$2'"; }
