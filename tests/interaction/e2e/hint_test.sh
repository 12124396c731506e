#!/usr/bin/env bash
# Key H in the real program: the first press rings the piece to move, the second adds the
# arrow to its point; then a move, after which the game goes on and saves no hint.
source "$(dirname "$0")/e2e_lib.sh"

# White where the game window of two screenshots differs, black elsewhere.
diff_mask() {
  { compare -fuzz 6% "$1" "$2" -compose Src -highlight-color white -lowlight-color black png:- 2>/dev/null || true; } |
    convert png:- -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage "$3"
}
white_pixels() { convert "$1" -colorspace Gray -format "%[fx:round(mean*w*h)]" info:; }

start_display
prepare_work
# A lock of its own: another copy of the game on this machine must not hold this one up.
mkdir -m 700 "$WORK/run"
export XDG_RUNTIME_DIR="$WORK/run"
write_settings DifficultyLevel=0 HintAtStartup=0
start_game
wait_game_window
read -r WIN_X WIN_Y WIN_W WIN_H <<<"$(xdotool getwindowgeometry --shell "$GAME_WINDOW" |
  awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ { printf "%s ", $2 }')"
pointer_to 500 500
sleep 0.5
shot "before" && before=$(ls "$RQ_ARTIFACTS"/*-before.png)

game_key h
sleep 1.5
shot "ring" && ring=$(ls "$RQ_ARTIFACTS"/*-ring.png)
game_key h
sleep 0.5
shot "arrow" && arrow=$(ls "$RQ_ARTIFACTS"/*-arrow.png)

diff_mask "$before" "$ring" "$WORK/ring.png"
ringed=$(white_pixels "$WORK/ring.png")
log "pixels changed by the ring: $ringed"
[ "$ringed" -gt 300 ] || fail "the first H shows no ring"
# The ring alone changes nothing beyond its own circle; the arrow leaves it for its point.
read -r w h x y <<<"$(convert "$WORK/ring.png" -trim -format "%w %h %X %Y" info: | tr -d '+')"
[ "$w" -lt "$(px 140)" ] && [ "$h" -lt "$(px 140)" ] || fail "the first H changed more than one piece's place (${w}x${h})"
cx=$((x + w / 2)) cy=$((y + h / 2)) r=$(px 62)
outside() { convert "$1" -fill black -draw "circle $cx,$cy $((cx + r)),$cy" -colorspace Gray -format "%[fx:round(mean*w*h)]" info:; }
diff_mask "$before" "$arrow" "$WORK/arrow.png"
beyond=$(outside "$WORK/arrow.png")
log "pixels of the arrow beyond the ring: $beyond"
[ "$beyond" -gt 200 ] || fail "the second H shows no arrow"

drag b2e2
sleep 3
shot "moved"
game_key Escape
wait_game_exit
expect_line "$WORK/CurrentGame_$NAME.vrd5" "Recorded moves: 2"
log "hint test passed"
