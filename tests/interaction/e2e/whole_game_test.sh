#!/usr/bin/env bash
# The end of a game in the real program: the computer takes the red general in a continued game;
# "Game has ended" opens over the final picture, kept after OK; the record window copies the game's
# PGN for other programs; N starts a new game without asking and
# archives the old one as ended. In the new one a hovered piece's markers go when a window opens over it.
source "$(dirname "$0")/e2e_lib.sh"
: "${RQ_REFEREE:?path of the referee}"
start_display; write_settings 0
# Red walks its general onto the f-file and screens it with its own cannon: green's cannon takes it.
"$RQ_REFEREE" play "$WORK/CurrentGame_$NAME.vrd5" f0e1 h7f7 e0f0 a6a5 h2f2 || fail "no game to continue"
xdotool mousemove 0 0; start_game; wait_game_window
ended=$(wait_window '^Game has ended$' 30) || fail "the computer's capture announced nothing"
sleep 0.5; shot announced
announced=$SHOT box=$(geometry "$ended")
dialog_keys "$ended" Return; wait_no_window '^Game has ended$'
sleep 0.5; shot after-ok
[ "$(window_differing "$announced" "$SHOT" "$box")" -eq 0 ] || fail "the box opened over a picture older than the final one"
# The record window's Copy PGN: the moves stop before red's move into check, which a comment tells.
game_key m; moves=$(moves_window) || fail "no record window after M"
read -r mx my mw mh <<<"$(geometry "$moves")"
xdotool mousemove $((mx + mw / 4)) $((my + mh - 22)) click 1
until_ok 'xclip -o -selection clipboard 2>/dev/null | grep -qx "\[Result \"0-1\"\]"' 50 ||
  fail "Copy PGN put no game won by green on the clipboard"
copied=$(xclip -o -selection clipboard | tr '\n' ' ')
[[ $copied == *"2. e0f0 a6a5 {Red moved into check, which Ravenquill allows: 3. h2f2 f7f0 takes the general} 0-1"* ]] ||
  fail "the copied PGN does not stop before the move into check: $copied"
game_key m; moves_gone || fail "M does not close the record window"
game_key n; sleep 0.5
window_exists '^New game\?$' && fail "a finished game must not ask"
# Over a hovered piece the pointer leaves without crossing the window's edge when a window opens under it.
xdotool mousemove 0 0; sleep 0.5; shot no-pointer; untouched=$SHOT
pointer_to "$(point_x b0)" "$(point_y b0)"; sleep 0.3; shot hovering
[ "$(window_differing "$untouched" "$SHOT")" -gt 0 ] || fail "hovering the horse shows no markers"
cx=$((WIN_X + $(px "$(point_x b0)") - 60)) cy=$((WIN_Y + $(px "$(point_y b0)") - 30))
xmessage -geometry "120x60+$cx+$cy" cover & cover_pid=$!
wait_window '^xmessage$' 10 >/dev/null || fail "no covering window"
sleep 0.5; shot covered; kill "$cover_pid"
# The covering window blacked out with its border.
[ "$(window_differing "$untouched" "$SHOT" "$((cx - 4)) $((cy - 4)) 128 68")" -eq 0 ] || fail "the markers stay after the pointer left the window"
game_key Escape; wait_game_exit
archive="$WORK/Games1-100_$NAME.vrd5"
for line in "Game ended: 1" "Recorded moves: 6" "Game #: 1 \(saved .*"; do expect_line "$archive" "$line"; done
expect_line "$WORK/CurrentGame_$NAME.vrd5" "Game #: 2 \(saved .*"
