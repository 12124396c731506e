#!/usr/bin/env bash
# Key H in the real program: the first press rings the piece to move, the second adds the
# arrow to its point; then a move, and the game goes on.
source "$(dirname "$0")/e2e_lib.sh"

# White where the game window differs between screenshots $1 and $2, into $3.
diff_mask() {
  { compare -fuzz 6% "$1" "$2" -compose Src -highlight-color white -lowlight-color black png:- 2>/dev/null || true; } |
    convert png:- -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage "$3"
}
# White pixels of mask $1 outside the circle of radius $4 around ($2, $3).
white_outside() {
  convert "$1" -fill black -draw "circle $2,$3 $(($2 + $4)),$3" -colorspace Gray -format "%[fx:round(mean*w*h)]" info:
}

start_display
prepare_work
mkdir -m 700 "$WORK/run"
export XDG_RUNTIME_DIR="$WORK/run"  # a lock of its own: no other copy on this machine holds it up
write_settings DifficultyLevel=0 HintAtStartup=0
start_game
wait_game_window
read -r WIN_X WIN_Y WIN_W WIN_H <<<"$(xdotool getwindowgeometry --shell "$GAME_WINDOW" |
  awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ { printf "%s ", $2 }')"
pointer_to 500 500
for stage in before ring arrow; do
  [ "$stage" = before ] || game_key h
  sleep 1.5
  shot "$stage"
done
diff_mask "$RQ_ARTIFACTS"/01-before.png "$RQ_ARTIFACTS"/02-ring.png "$WORK/ring.png"
diff_mask "$RQ_ARTIFACTS"/01-before.png "$RQ_ARTIFACTS"/03-arrow.png "$WORK/arrow.png"
# The ring changes nothing beyond its own circle; the arrow leaves it for the piece's point.
read -r w h x y <<<"$(convert "$WORK/ring.png" -trim -format "%w %h %X %Y" info: | tr -d '+')"
log "first H: ${w}x${h} pixels at $x,$y changed"
[ "$w" -gt "$(px 40)" ] && [ "$w" -lt "$(px 140)" ] && [ "$h" -lt "$(px 140)" ] || fail "the first H shows no ring alone"
beyond=$(white_outside "$WORK/arrow.png" $((x + w / 2)) $((y + h / 2)) "$(px 62)")
log "second H: $beyond pixels beyond the ring"
[ "$beyond" -gt 200 ] || fail "the second H shows no arrow"

drag b2e2
sleep 3
shot "moved"
game_key Escape
wait_game_exit
expect_line "$WORK/CurrentGame_$NAME.vrd5" "Recorded moves: 2"
