#!/usr/bin/env bash
# One sitting with the real program: a move and the computer's answer, the settings dialog
# with its warning, a new game, leaving, the files, and a second start that continues.
source "$(dirname "$0")/e2e_lib.sh"

start_display
prepare_work
write_settings DifficultyLevel=0
start_game
wait_game_window
window_exists '^Ravenquill$' && fail "a first start must not show a message"
shot "opening"

log "drag the cannon to the centre and let the computer answer"
drag b2e2 "cannon-held"
sleep 5
shot "computer-answered"

log "settings: level 0 to 3, prohibited moves off, OK, then the warning"
game_key s
dialog=$(wait_window '^Ravenquill Settings$') || fail "no settings dialog after S"
shot "settings-dialog"
# The scale has the focus; the fourth check box is "Show prohibited moves".
dialog_keys "$dialog" Right Right Right Tab Tab Tab Tab space
dialog_keys "$dialog" Return
warning=$(wait_window '^Warning$') || fail "no warning for level 3"
shot "warning"
dialog_keys "$warning" Return
wait_no_window '^Warning$' || fail "the warning stays"
wait_no_window '^Ravenquill Settings$' || fail "the settings dialog stays"

log "new game: N, then Yes"
game_key n
question=$(wait_window '^New game\?$') || fail "no question after N"
dialog_keys "$question" alt+y
wait_no_window '^New game\?$' || fail "the question stays"

log "leave with Escape"
game_key Escape
wait_game_exit

settings="$WORK/Settings_$NAME.rqs1"
current="$WORK/CurrentGame_$NAME.vrd5"
archive="$WORK/Games1-100_$NAME.vrd5"
[ -f "$settings" ] || fail "no settings file"
[ -f "$current" ] || fail "no current-game file"
[ -f "$archive" ] || fail "no archive file"
expect_line "$settings" "DifficultyLevel = 3"
expect_line "$settings" "ShowIllegalMoves = 0"
expect_line "$settings" "HighlightMove = 1"
expect_line "$settings" "AutoHideMenu = 1"
expect_line "$archive" "Game ended: 0"
expect_line "$archive" "Recorded moves: 2"
expect_line "$archive" "Next move: 2"
grep -q '^64 --> 67 -  ' "$archive" || fail "the archive lacks the user's move b2e2"
grep -q '^Game #: 1 (saved ' "$archive" || fail "the archive lacks game 1"
grep -q '^Game #: 2 (saved ' "$current" || fail "the current game is not game 2"
expect_line "$current" "Recorded moves: 0"
expect_line "$current" "User's turn: 1"

log "start again: the game continues"
start_game
message=$(wait_window '^Ravenquill$' 30) || fail "no start-up message"
shot "continuing-message"
dialog_keys "$message" Return
wait_no_window '^Ravenquill$' || fail "the start-up message stays"
wait_game_window
shot "continued"

game_key Escape
wait_game_exit
log "session: all steps passed"
