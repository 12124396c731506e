#!/usr/bin/env bash
# Games brought into the real program: a PGN in Chinese notation named on the command line, a
# two-chariot endgame pasted as FEN from the clipboard (set by xclip) and played, a collection
# opened through Ctrl+O's file chooser and its game list, a FEN file dropped on the window by a
# GTK drag source, and a two-chariot endgame set up in the editor and played. Each is checked on
# the board; the last in the saved file after Escape and on the board after a restart. With
# RQ_BASELINE, the first release must set that file aside.
source "$(dirname "$0")/e2e_lib.sh"
command -v xclip >/dev/null || fail "xclip is missing (scripts/setup.sh installs it)"
/usr/bin/python3 -c 'import gi; gi.require_version("Gtk", "3.0")' 2>/dev/null || fail "python3-gi is missing"
here=$(cd "$(dirname "$0")" && pwd)
current="$WORK/CurrentGame_$NAME.vrd5"
# Fails unless each "point:ink" of $@ shows that ink in a picture of the game window.
board_shows() {
  local what=$1 row got; shift
  xdotool mousemove 0 0; sleep 1; shot "$what"
  import -window "$GAME_WINDOW" "$WORK/board.png"
  for row in "$@"; do
    got=$(ink_at "$WORK/board.png" "${row%%:*}")
    [ "$got" = "${row#*:}" ] || fail "$what: ${row%%:*} shows $got, not ${row#*:}"
  done
  log "$what: the board is right"
}
# Answers the new-game question with Yes.
confirm_new_game() {
  local question; question=$(wait_window '^New game\?$') || fail "no new-game question"
  dialog_keys "$question" alt+y; wait_no_window '^New game\?$'
}

start_display "${1:-bare}"; write_settings 0
printf '[Red "Hu Ronghua"]\n[Black "Yang Guanlin"]\n\n1. 炮二平五 马８进７ 2. 马二进三 车９平８ *\n' >"$WORK/study.pgn"
start_game "$WORK/study.pgn"; wait_game_window
board_shows command-line e2:red g2:red h2:none h0:none g7:green h9:green i9:none

printf '%s' "3k5/9/9/9/9/9/9/9/R8/1R3K3 w - - 0 1" | xclip -selection clipboard
focus "$GAME_WINDOW"; pointer_to 500 500; xdotool key ctrl+v; confirm_new_game
board_shows pasted a1:red b0:red f0:red d9:green e0:none a0:none e9:none
drag a1a9; sleep 3  # check; the computer answers
board_shows played a9:red a1:none

printf '[Red "A"]\n1. h2e2 *\n\n[Red "B"]\n1. C2=5 H8+7 2. H2+3 *\n' >"$WORK/two.pgn"
focus "$GAME_WINDOW"; pointer_to 500 500; xdotool key ctrl+o
chooser=$(wait_window '^Open a game or position$') || fail "no file chooser after Ctrl+O"
dialog_keys "$chooser" ctrl+l; xdotool type --delay 20 "$WORK/two.pgn"; sleep 0.3; xdotool key Return
list=$(wait_window '^Choose a game$') || fail "no game list"
dialog_keys "$list" Down Return; wait_no_window '^Choose a game$'; confirm_new_game
TURNED=1  # green to move: the player takes green, at the bottom
board_shows opened e2:red g2:red h2:none h0:none g7:green

printf '%s\n' "3k5/9/9/9/9/9/9/9/R8/R3K4 b - - 0 1" >"$WORK/endgame.fen"
/usr/bin/python3 "$here/drag_source.py" "$WORK/endgame.fen" & DRAG_PID=$!
source_window=$(wait_window '^Ravenquill drag source$') || fail "no drag source"
read -r sx sy sw sh <<<"$(geometry "$source_window")"
xdotool mousemove $((sx + sw / 2)) $((sy + sh / 2)); sleep 0.3; xdotool mousedown 1
for step in 1 2 3 4 5 6; do
  xdotool mousemove $((sx + (WIN_X + WIN_W / 2 - sx) * step / 6)) $((sy + (WIN_Y + WIN_H / 2 - sy) * step / 6)); sleep 0.2
done
xdotool mouseup 1; confirm_new_game; wait "$DRAG_PID" || true
board_shows dropped a1:red a0:red e0:red d9:green e9:none

# The editor: the board emptied, two chariots and the generals from the tray, red to move.
tray() { pointer_to "$1" "$2"; xdotool mousedown 1; sleep 0.15; pointer_to "$(point_x "$3")" "$(point_y "$3")"; xdotool mouseup 1; sleep 0.2; }
game_key e; game_key c; TURNED=1
tray 968 820 "e0"; tray 56 820 "d9"; tray 968 220 "a1"; tray 968 220 "b0"
game_key t; game_key Return  # the dropped game has no move: no question
TURNED=0; board_shows set-up a1:red b0:red e0:red d9:green a0:none
drag a1a9; sleep 3  # check; the computer answers
game_key Escape; wait_game_exit
for line in "Start: 3k5/9/9/9/9/9/9/9/R8/1R2K4 w - - 0 1" "Recorded moves: 2"; do expect_line "$current" "$line"; done
start_game; wait_game_window
board_shows restarted a9:red b0:red e0:red a1:none
game_key Escape; wait_game_exit
if [ -n "${RQ_BASELINE:-}" ]; then
  start_game_with() { (cd "$WORK" && exec "$1") >>"$WORK/game.log" 2>&1 & GAME_PID=$!; }
  start_game_with "$RQ_BASELINE"; wait_game_window; game_key Escape; wait_game_exit
  grep -q '^Start: ' "$current.damaged" || fail "the first release did not set the set-up game aside"
  log "the first release set the set-up game aside as damaged"
fi
