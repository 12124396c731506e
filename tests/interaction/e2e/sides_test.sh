#!/usr/bin/env bash
# Playing green in the real program, bare or under openbox ($1): green chosen in the settings
# dialog, a new game in which red's first move arrives from the computer, a green piece
# dragged at the bottom of the turned board and answered; after Escape and a restart the
# same picture, green at the bottom, and the player to move.
source "$(dirname "$0")/e2e_lib.sh"
: "${RQ_MOVE_LIST_PROBE:?path of the record window probe}"
start_display "${1:-bare}"; write_settings; start_game; wait_game_window
# Green in the dialog: the side's radio buttons follow the level's scale, which has the focus.
game_key s; dialog=$(wait_window '^Ravenquill Settings$') || fail "no settings dialog after S"
dialog_keys "$dialog" Tab Down Return; wait_no_window '^Ravenquill Settings$'
game_key n; question=$(wait_window '^New game\?$') || fail "no question after N"
dialog_keys "$question" alt+y; wait_no_window '^New game\?$'
game_key m; moves_window >/dev/null || fail "no record window after M"
wait_rows '^1\. [^ ~]+ ' || fail "red's first move did not arrive"
TURNED=1; sleep 1  # the piece lands
drag c6c5
wait_rows '^2\. [^ ~]+ ' || fail "no answer to green's move"
sleep 1; xdotool mousemove 0 0; sleep 0.5; shot before-exit; before=$SHOT
game_key Escape; wait_game_exit
current="$WORK/CurrentGame_$NAME.vrd5"
for line in "Player: green" "Recorded moves: 3" "User's turn: 1" "Game #: 2 \(saved .*"; do expect_line "$current" "$line"; done
expect_line "$WORK/Settings_$NAME.rqs1" "PlayerSide = 1"
grep -q '^29 --> 38 -  ' "$current" || fail "green's c6c5 is not the second move"
start_game
message=$(wait_window '^Ravenquill$' 30) || fail "no start-up message"
dialog_keys "$message" Return; wait_no_window '^Ravenquill$'
wait_game_window; xdotool mousemove 0 0; sleep 1; shot continued
# The crystal ball with its depth dots blacked out: a new start shows the depth the next search
# begins with. The box is generous: under openbox the window's reported place lies a title bar's
# height below its client area.
dots="$((WIN_X + $(px 10))) $((WIN_Y + $(px 470))) $(px 100) $(px 130)"
[ "$(window_differing "$before" "$SHOT" "$dots")" -eq 0 ] || fail "the continued game does not look as it was left"
drag g6g5  # green to move, at the bottom
sleep 3; game_key Escape; wait_game_exit
expect_line "$current" "Recorded moves: 5"
