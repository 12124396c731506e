#!/usr/bin/env bash
# Under openbox with the record window open: after a click in the record window, the first drag
# on the board plays its move (the click that hands the focus back is not swallowed); a long
# game's record window opens scrolled to its latest move.
source "$(dirname "$0")/e2e_lib.sh"
: "${RQ_TOOL:?path of ravenquill-tool}"
start_display openbox; write_settings 0; start_game; wait_game_window
game_key m; moves=$(moves_window) || fail "no record window after M"
wait_rows '^open$'
read -r mx my mw mh <<<"$(geometry "$moves")"
xdotool mousemove $((mx + mw / 2)) $((my + mh / 3)) click 1
until_ok '[ "$(xdotool getactivewindow)" = "$moves" ]' 50 || fail "a click did not give the record window the focus"
drag b2e2
wait_rows '^1\. 炮八平五 '
game_key Escape; wait_game_exit

# A hundred rows of a random game, red to move, more than the window shows at once.
"$RQ_TOOL" random --seed 3 --plies 200 1 >"$WORK/CurrentGame_$NAME.vrd5"
expect_line "$WORK/CurrentGame_$NAME.vrd5" "Next move: 200"
start_game; wait_game_window  # no start-up message: HintAtStartup is 0
game_key m; moves_window >/dev/null || fail "no record window after M"
wait_rows '^100\. '
until_ok 'grep -qE "^shown [0-9]+-100$" "$DUMP"' 100 || fail "the record window does not show the latest move: $(tail -n1 "$DUMP")"
game_key Escape; wait_game_exit
