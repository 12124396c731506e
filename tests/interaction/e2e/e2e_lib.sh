# Shared steps of the end-to-end tests: a private X display, the game in a fresh working
# directory, xdotool as the player and screenshots as artefacts. Sourced, not run.
set -euo pipefail
: "${RQ_PROGRAM:?}" "${RQ_SOURCE:?}" "${RQ_ARTIFACTS:?}"
rm -rf "$RQ_ARTIFACTS" && mkdir -p "$RQ_ARTIFACTS"
WORK=$(mktemp -d /tmp/rq-e2e-XXXXXX) NAME=$(hostname | cut -c1-15) XVFB_PID="" WM_PID="" GAME_PID="" SHOTS=0
# The record window's rows, as it shows them, written into $DUMP by the probe loaded into the game.
export RQ_MOVE_LIST_DUMP="$WORK/rows.txt" GAME_PRELOAD=${RQ_MOVE_LIST_PROBE:-} && DUMP=$RQ_MOVE_LIST_DUMP
mkdir -m 700 "$WORK/run"; export XDG_RUNTIME_DIR="$WORK/run"  # the desktop libraries' run-time files apart from the user's
# The game speaks English here, whatever the desktop running the tests speaks.
export LANG=C.UTF-8; unset LANGUAGE LC_ALL LC_MESSAGES
log() { echo "[$(date +%T)] $*"; }
# Keeps the evidence, then stops what this test started (by process id only).
finish() {
  local status=$?; [ $status -eq 0 ] || shot failure || true
  cp "$WORK"/*.vrd5 "$WORK"/*.rqs1 "$WORK"/game.log "$RQ_ARTIFACTS"/ 2>/dev/null || true
  for pid in $GAME_PID $WM_PID $XVFB_PID; do kill "$pid" 2>/dev/null || true; done; rm -rf "$WORK"; exit $status
}
trap finish EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# Waits up to $2 tenths of a second for the command $1 to succeed.
until_ok() { for _ in $(seq "$2"); do eval "$1" && return 0; sleep 0.1; done; return 1; }
# A 1920 x 1080 display that does not reset between two sittings, openbox on it if asked.
start_display() {
  Xvfb -displayfd 9 -screen 0 1920x1080x24 -nolisten tcp -noreset 9>"$WORK/display" 2>"$WORK/xvfb.log" & XVFB_PID=$!
  until_ok '[ -s "$WORK/display" ]' 100 || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$WORK/display")"
  cp -r "$RQ_SOURCE/Textures" "$RQ_SOURCE/Documentation" "$RQ_SOURCE/arrowcop.cur" "$WORK"/
  # The build's catalogues beside the data, as scripts/run.sh lays them out.
  [ -z "${RQ_LOCALE:-}" ] || cp -r "$RQ_LOCALE" "$WORK/locale"
  [ "${1:-}" = openbox ] || return 0
  openbox --sm-disable >"$WORK/openbox.log" 2>&1 & WM_PID=$!
  until_ok "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" 50 || fail "openbox did not start"
}
# Settings file with every option on, level 0 and English help; the hint at start-up as $1 says.
write_settings() {
  printf '%s = %s\n' HintAtStartup "${1:-1}" HighlightMove 1 ShowMoves 1 ShowIllegalMoves 1 ExplainIllegalMoves 1 \
    AutoHideMenu 1 DifficultyLevel 0 HelpLanguage 0 >"$WORK/Settings_$NAME.rqs1"
}
window_id() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true; }
window_exists() { [ -n "$(window_id "$1")" ]; }
wait_window() { PATTERN=$1; until_ok 'window_exists "$PATTERN"' $((${2:-20} * 10)) && window_id "$1"; }
wait_no_window() { PATTERN=$1; until_ok '! window_exists "$PATTERN"' 100 || fail "the window /$1/ stays"; }
# The game in $WORK, with the library $GAME_PRELOAD loaded into it when one is named.
# Arguments go to the program.
start_game() {
  (cd "$WORK" && if [ -n "${GAME_PRELOAD:-}" ]; then export LD_PRELOAD=$GAME_PRELOAD; fi && exec "$RQ_PROGRAM" "$@") \
    >>"$WORK/game.log" 2>&1 &
  GAME_PID=$!
}
# The main window once shown: GAME_WINDOW, its place WIN_X WIN_Y WIN_W WIN_H and the scale.
wait_game_window() {
  GAME_WINDOW=$(wait_window '^Ravenquill v1\.0$' 30) || fail "no game window"
  read -r WIN_X WIN_Y WIN_W WIN_H <<<"$(geometry "$GAME_WINDOW")"
  SCALE=$(awk -v h="$WIN_H" 'BEGIN { print h / 1024 }'); sleep 0.5
}
wait_game_exit() { until_ok '! kill -0 "$GAME_PID" 2>/dev/null' 300 || fail "the game did not end"; GAME_PID=""; }
geometry() { xdotool getwindowgeometry --shell "$1" | awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ { printf "%s ", $2 }'; }
# Client pixel of a scene coordinate; scene centre of a point such as "b2", with TURNED=1
# on the board turned round, green at the bottom.
px() { awk -v v="$1" -v s="$SCALE" 'BEGIN { printf "%d", v * s + 0.5 }'; }
point_x() { local f=$(($(printf '%d' "'${1:0:1}") - 97)); [ "${TURNED:-0}" = 1 ] && f=$((8 - f)); echo $((152 + 90 * f)); }
point_y() { local r=$((9 - ${1:1:1})); [ "${TURNED:-0}" = 1 ] && r=$((9 - r)); echo $((140 + 90 * r)); }
pointer_to() { xdotool mousemove --window "$GAME_WINDOW" "$(px "$1")" "$(px "$2")"; sleep 0.15; }
# Drags a piece the way a hand does: press, travel, pause over the target, release.
drag() {
  local fx=$(point_x "${1:0:2}") fy=$(point_y "${1:0:2}") tx=$(point_x "${1:2:2}") ty=$(point_y "${1:2:2}")
  pointer_to "$fx" "$fy"; xdotool mousedown 1; sleep 0.15
  pointer_to $(((fx + tx) / 2)) $(((fy + ty) / 2)); pointer_to "$tx" "$ty"; sleep 0.2
  xdotool mouseup 1; sleep 0.2; log "dragged $1"
}
focus() { FOCUS=$1; until_ok 'xdotool windowfocus --sync "$FOCUS" 2>/dev/null' 10; }
# A key pressed over the game window and held long enough to span a frame.
game_key() { focus "$GAME_WINDOW" || true; pointer_to 500 500; xdotool keydown "$1" && sleep 0.25 && xdotool keyup "$1" && sleep 0.2; }
dialog_keys() { local id=$1; shift; focus "$id" || fail "cannot focus $id"; sleep 0.2; xdotool key --delay 120 "$@"; sleep 0.3; }
# The ink around a board point: red, green or none, by the share of pixels passing an -fx test.
ink_at() {
  local r crop red green
  r=$(px 26)
  crop="$((2 * r))x$((2 * r))+$(($(px "$(point_x "$2")") - r))+$(($(px "$(point_y "$2")") - r))"
  share() { convert "$1" -crop "$crop" +repage -fx "$2" -format '%[fx:round(mean*1000)]' info:; }
  red=$(share "$1" 'r>0.47 && r-g>0.35 && r-b>0.35') green=$(share "$1" 'g-r>0.12 && g-b>0.06')
  if [ "$red" -gt 9 ] && [ "$red" -gt $((3 * green)) ]; then echo red
  elif [ "$green" -gt 9 ] && [ "$green" -gt $((3 * red)) ]; then echo green; else echo none; fi
}
# Screenshot $1 of the whole screen into SHOT.
shot() { SHOTS=$((SHOTS + 1)) SHOT="$RQ_ARTIFACTS/$(printf '%02d' $SHOTS)-$1.png"; import -window root "$SHOT" 2>/dev/null || true; }
# The game window of screenshot $1 into $2, with the rectangle "x y w h" of $3 blacked out.
window_part() {
  local x y w h; read -r x y w h <<<"${3:-0 0 0 0}"
  convert "$1" -fill black -draw "rectangle $x,$y,$((x + w)),$((y + h))" -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage "$2"
}
# Pixels that differ beyond noise between the pictures $1 and $2 (-1: no comparison).
differing() { compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 | awk '{ printf "%d", $1 } END { if (!NR) print -1 }' || true; }
# The same between the game window's parts of screenshots $1 and $2, the rectangle "x y w h" of $3 blacked out.
window_differing() {
  window_part "$1" "$WORK/a.png" "${3:-}" && window_part "$2" "$WORK/b.png" "${3:-}" && differing "$WORK/a.png" "$WORK/b.png"
}
# Fails unless file $1 has a line exactly like $2.
expect_line() { grep -qxE -- "$2"$'\r?' "$1" || fail "$(basename "$1") lacks the line '$2'"; }
# Waits until the record window's rows match the extended regular expression $1.
wait_rows() { ROWS=$1; until_ok 'grep -qE -- "$ROWS" "$DUMP" 2>/dev/null' 150 || fail "no rows /$1/: $(cat "$DUMP")"; }
# The id of a window titled exactly $1; xwininfo reads UTF-8 titles.
title_id() { xwininfo -root -tree | awk -v t=" \"$1\": " 'index($0, t) { print $1; exit }'; }
titled_window() { TITLE=$1; until_ok '[ -n "$(title_id "$TITLE")" ]' 100 && printf '%d\n' "$(title_id "$1")"; }
wait_no_title() { TITLE=$1; until_ok '[ -z "$(title_id "$TITLE")" ]' 100 || fail "the window \"$1\" stays"; }
# The record window's id, once there is one.
moves_id() { title_id "Ravenquill — Moves"; }
moves_window() { until_ok '[ -n "$(moves_id)" ]' 100 && printf '%d\n' "$(moves_id)"; }
moves_gone() { until_ok '[ -z "$(moves_id)" ]' 100; }
