#!/usr/bin/env bash
# The record window under openbox: M after three moves opens it beside the game window,
# its rows (read back from the window's own list) follow the computer's answer and an
# undo, and the close button and M close it.
source "$(dirname "$0")/e2e_lib.sh"
DUMP="$WORK/rows.txt"
export RQ_MOVE_LIST_DUMP="$DUMP"
# A game lock of its own: copies that other tests run at the same time must not hold it up.
mkdir -m 700 "$WORK/run"
export XDG_RUNTIME_DIR="$WORK/run"

# Waits until the window's rows match the extended regular expression $1.
wait_rows() {
  for _ in $(seq 150); do grep -qE -- "$1" "$DUMP" 2>/dev/null && return 0; sleep 0.1; done
  fail "the record window never showed /$1/: $(cat "$DUMP" 2>/dev/null)"
}
# The record window's id once it is there, or "gone" once it is not; xwininfo reads its UTF-8 title.
moves_window() {
  for _ in $(seq 100); do
    local id=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "Ravenquill — Moves".*/\1/p' | head -n1)
    [ -n "$id" ] && [ -z "${1:-}" ] && { printf '%d\n' "$id"; return 0; }
    [ -z "$id" ] && [ -n "${1:-}" ] && return 0
    sleep 0.1
  done
  return 1
}
geometry() { xdotool getwindowgeometry --shell "$1" | sed -n "s/^$2=//p"; }

start_display 1920x1080  # room beside the game window
start_window_manager
prepare_work
write_settings DifficultyLevel=0 HintAtStartup=0
start_game
wait_game_window

log "three moves, then M"
drag b2e2
sleep 4  # the computer's answer, at the lowest level
drag b0c2
game_key m
moves=$(moves_window) || fail "no record window after M"
wait_rows '^2\. 马八进七 [^ ]+ \| H8\+7 [A-Z+1-5-][1-9A-Z][-+=][1-9]$'
shot "record-open"
grep -qxE '1\. 炮八平五 [^ ~]+ \| C8=5 [A-Z+-][1-9A-Z][-+=][1-9]' "$DUMP" || fail "row 1 is not the first pair"
[ "$(printf '%d' "$(xprop -id "$moves" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*')")" = "$GAME_WINDOW" ] ||
  fail "the record window is not transient for the game window"
[ "$(geometry "$moves" X)" -ge $(( $(geometry "$GAME_WINDOW" X) + $(geometry "$GAME_WINDOW" WIDTH) )) ] ||
  fail "the record window is not beside the game window"

log "undo greys the last pair; the close button and M close the window"
game_key z
wait_rows '^2\. ~马八进七 ~[^ ]+ \| ~H8\+7 ~'
shot "record-undone"
focus "$moves" || fail "cannot focus the record window"
xdotool key alt+F4
moves_window gone || fail "the close button left the record window"
wait_rows '^closed$'
sleep 0.5  # openbox hands the focus back to the game window
game_key m
moves_window >/dev/null || fail "M does not open the record window again (focus $(xdotool getwindowfocus), rows: $(head -n1 "$DUMP"))"
game_key m
moves_window gone || fail "M does not close the record window"

game_key Escape
wait_game_exit
log "passed"
