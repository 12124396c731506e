#!/usr/bin/env bash
# What the window shows behind its boxes and after the pointer has gone. A continued game
# in which the computer's move takes the red general: "Game has ended" opens over the final
# picture, the one the window keeps showing after OK. Then, in a new game, the markers of a
# hovered piece go when the pointer leaves the window.
source "$(dirname "$0")/e2e_lib.sh"
: "${RQ_REFEREE:?path of the referee}"

# The game window of screenshot $1 into $2, with the rectangle "x y w h" of $3 blacked out.
window_part() {
  local mask=${3:-"0 0 0 0"} x y w h
  read -r x y w h <<<"$mask"
  convert "$1" -fill black -draw "rectangle $x,$y,$((x + w)),$((y + h))" \
    -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage "$2"
}

# How many pixels of two pictures differ beyond a little noise.
differing() { compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 | awk '{ printf "%d", $1 }' || true; }

# "x y w h" of a window on the screen.
geometry() {
  xdotool getwindowgeometry --shell "$1" | awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ { printf "%s ", $2 }'
}

latest_shot() { ls "$RQ_ARTIFACTS"/"$(printf '%02d' "$SHOTS")"-*.png; }

start_display
prepare_work
write_settings DifficultyLevel=0 HintAtStartup=0
# Red walks its general onto the f-file and screens it with its own cannon: green's
# cannon on f7 takes it.
"$RQ_REFEREE" play "$WORK/CurrentGame_$NAME.vrd5" f0e1 h7f7 e0f0 a6a5 h2f2 || fail "no game to continue"
xdotool mousemove 0 0
start_game
wait_game_window
read -r WIN_X WIN_Y WIN_W WIN_H <<<"$(geometry "$GAME_WINDOW")"

ended=$(wait_window '^Game has ended$' 30) || fail "the computer's capture announced nothing"
sleep 0.5
shot "announced"
announced=$(latest_shot)
box=$(geometry "$ended")
dialog_keys "$ended" Return
wait_no_window '^Game has ended$' || fail "the announcement stays"
sleep 0.5
shot "after-ok"
window_part "$announced" "$WORK/behind.png" "$box"
window_part "$(latest_shot)" "$WORK/final.png" "$box"
stale=$(differing "$WORK/behind.png" "$WORK/final.png")
log "pixels behind the box unlike the final picture: $stale"
[ "$stale" -eq 0 ] || fail "the box opened over a picture older than the final position"

# The pointer leaves the window without crossing its edge when another window opens under
# it: over a hovered piece the window's last pointer position is still that piece.
log "a new game; hover a horse, then a window opens under the pointer"
game_key n
xdotool mousemove 0 0
sleep 0.5
shot "no-pointer"
untouched=$(latest_shot)
pointer_to "$(point_x b0)" "$(point_y b0)"
sleep 0.3
shot "hovering"
window_part "$untouched" "$WORK/untouched.png"
window_part "$(latest_shot)" "$WORK/hovering.png"
[ "$(differing "$WORK/untouched.png" "$WORK/hovering.png")" -gt 0 ] || fail "hovering the horse shows no markers"
cx=$((WIN_X + $(px "$(point_x b0)") - 60)) cy=$((WIN_Y + $(px "$(point_y b0)") - 30))
xmessage -geometry "120x60+$cx+$cy" cover &
cover_pid=$!
cover="$((cx - 4)) $((cy - 4)) 128 68"  # with the window's border
wait_window '^xmessage$' 10 >/dev/null || fail "no covering window"
sleep 0.5
shot "covered"
window_part "$untouched" "$WORK/untouched.png" "$cover"
window_part "$(latest_shot)" "$WORK/covered.png" "$cover"
kill "$cover_pid"
[ "$(differing "$WORK/untouched.png" "$WORK/covered.png")" -eq 0 ] || fail "the markers stay after the pointer left the window"
game_key Escape
wait_game_exit
