#!/usr/bin/env bash
# Two sittings of the real program under openbox: key H's ring, then its arrow; moves and answers;
# the record window beside the game, a drag right after a click in it played, its rows following
# an undo, closed by its button and by M; the settings dialog and its warning; a new game; the
# files; a second start that continues a long game, its record window scrolled to the latest move.
source "$(dirname "$0")/e2e_lib.sh"
: "${RQ_TOOL:?path of ravenquill-tool}"
# White where the game window differs from the first screenshot in screenshot $1, into $2.
diff_mask() {
  { compare -fuzz 6% "$RQ_ARTIFACTS"/01-before.png "$1" -compose Src -highlight-color white -lowlight-color black \
      png:- 2>/dev/null || true; } |
    convert png:- -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage "$2"
}
start_display openbox; write_settings; start_game; wait_game_window
window_exists '^Ravenquill$' && fail "a first start must not show a message"
pointer_to 500 500
for stage in before ring arrow; do [ $stage = before ] || game_key h; sleep 1.5; shot $stage; done
diff_mask "$RQ_ARTIFACTS"/02-ring.png "$WORK/ring.png"; diff_mask "$RQ_ARTIFACTS"/03-arrow.png "$WORK/arrow.png"
# The ring changes nothing beyond its own circle; the arrow leaves it for the piece's point.
read -r w h x y <<<"$(convert "$WORK/ring.png" -trim -format "%w %h %X %Y" info: | tr -d '+')"
[ "$w" -gt "$(px 40)" ] && [ "$w" -lt "$(px 140)" ] && [ "$h" -lt "$(px 140)" ] || fail "the first H shows no ring alone: ${w}x$h"
cx=$((x + w / 2)) cy=$((y + h / 2))
beyond=$(convert "$WORK/arrow.png" -fill black -draw "circle $cx,$cy $((cx + $(px 62))),$cy" -colorspace Gray \
  -format "%[fx:round(mean*w*h)]" info:)
[ "$beyond" -gt 200 ] || fail "the second H shows no arrow: $beyond pixels beyond the ring"
drag b2e2
game_key m; moves=$(moves_window) || fail "no record window after M"
wait_rows '^1\. 炮八平五 [^ ~]+ '  # the computer's answer, at the lowest level
# The click that gives the record window the focus; the drag after it is not swallowed.
read -r mx my mw mh <<<"$(geometry "$moves")"
xdotool mousemove $((mx + mw / 2)) $((my + mh / 3)) click 1
until_ok '[ "$(xdotool getactivewindow)" = "$moves" ]' 50 || fail "a click did not give the record window the focus"
drag b0c2
wait_rows '^2\. 马八进七 [^ ]+ \| H8\+7 [A-Z+1-9-][1-9A-Z+-][-+=][1-9]$'
grep -qxE '1\. 炮八平五 [^ ~]+ \| C8=5 [A-Z+-][1-9A-Z][-+=][1-9]' "$DUMP" || fail "row 1 is not the first pair"
[ "$(printf '%d' "$(xprop -id "$moves" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*')")" = "$GAME_WINDOW" ] ||
  fail "the record window is not transient for the game window"
[ "$(geometry "$moves" | cut -d' ' -f1)" -ge $((WIN_X + WIN_W)) ] || fail "the record window is not beside the game"
game_key z
wait_rows '^2\. ~马八进七 ~[^ ]+ \| ~H8\+7 ~'
focus "$moves" || fail "cannot focus the record window"; xdotool key alt+F4
moves_gone || fail "the close button left the record window"
wait_rows '^closed$'
sleep 0.5  # openbox hands the focus back to the game window
game_key m; moves_window >/dev/null || fail "M does not open the record window again"
game_key m; moves_gone || fail "M does not close the record window"
# Level 0 to 3 on the scale, which has the focus; past the side's radio buttons, the fourth
# check box is "Show prohibited moves".
game_key s; dialog=$(wait_window '^Ravenquill Settings$') || fail "no settings dialog after S"
dialog_keys "$dialog" Right Right Right Tab Tab Tab Tab Tab space Return
warning=$(wait_window '^Warning$') || fail "no warning for level 3"
dialog_keys "$warning" Return; wait_no_window '^Warning$'; wait_no_window '^Ravenquill Settings$'
game_key n; question=$(wait_window '^New game\?$') || fail "no question after N"
dialog_keys "$question" alt+y; wait_no_window '^New game\?$'
game_key Escape; wait_game_exit
settings="$WORK/Settings_$NAME.rqs1" current="$WORK/CurrentGame_$NAME.vrd5" archive="$WORK/Games1-100_$NAME.vrd5"
for line in "DifficultyLevel = 3" "ShowIllegalMoves = 0" "HighlightMove = 1" "AutoHideMenu = 1"; do expect_line "$settings" "$line"; done
for line in "Game ended: 0" "Recorded moves: 4" "Next move: 2" "Game #: 1 \(saved .*"; do expect_line "$archive" "$line"; done
grep -q '^64 --> 67 -  ' "$archive" || fail "the archive lacks the user's move b2e2"
for line in "Recorded moves: 0" "User's turn: 1" "Game #: 2 \(saved .*"; do expect_line "$current" "$line"; done
# A hundred rows of a random game, red to move, more than the record window shows at once.
rm "$archive"; "$RQ_TOOL" random --seed 3 --plies 200 1 >"$current"
expect_line "$current" "Next move: 200"
start_game  # again: the game continues
message=$(wait_window '^Ravenquill$' 30) || fail "no start-up message"
dialog_keys "$message" Return; wait_no_window '^Ravenquill$'
wait_game_window
game_key m; moves_window >/dev/null || fail "no record window after M"
wait_rows '^100\. '
until_ok 'grep -qE "^shown [0-9]+-100$" "$DUMP"' 100 || fail "the record window does not show the latest move: $(tail -n1 "$DUMP")"
game_key Escape; wait_game_exit
