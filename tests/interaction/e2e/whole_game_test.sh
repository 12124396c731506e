#!/usr/bin/env bash
# A whole game at level 0 through the real program. After each of the user's moves the
# program is left and started again, and the referee reads the saved game to choose the
# next move; the game ends with its announcement, a new game archives it as ended.
source "$(dirname "$0")/e2e_lib.sh"
: "${RQ_REFEREE:?path of the referee}"
RED_DEPTH=${RQ_E2E_RED_DEPTH:-1}
MAX_SITTINGS=${RQ_E2E_MAX_SITTINGS:-150}

start_display
prepare_work
write_settings DifficultyLevel=0 HintAtStartup=0
current="$WORK/CurrentGame_$NAME.vrd5"
archive="$WORK/Games1-100_$NAME.vrd5"

ended=""
last=""
repeats=0
for sitting in $(seq "$MAX_SITTINGS"); do
  start_game
  wait_game_window
  if [ "$sitting" -gt 1 ]; then sleep 1; fi
  if ! window_exists '^Game has ended$'; then
    choice=$("$RQ_REFEREE" choose "$current" "$RED_DEPTH") || fail "referee failed"
    case $choice in
      move\ *)
        move=${choice#move }
        if [ "$move" = "$last" ]; then repeats=$((repeats + 1)); else repeats=0; fi
        [ $repeats -lt 3 ] || fail "the move $move does not land"
        last=$move
        drag "$move"
        ;;
      wait) log "the computer is still to move" ;;
      *) fail "referee says '$choice' in a game that has not ended" ;;
    esac
    # The answer comes within seconds at level 0; the announcement comes with it.
    for _ in $(seq 40); do
      window_exists '^Game has ended$' && break
      sleep 0.1
    done
  fi
  if window_exists '^Game has ended$'; then
    ended=$(wait_window '^Game has ended$')
    shot "game-has-ended"
    log "the game has ended in sitting $sitting"
    break
  fi
  game_key Escape
  wait_game_exit
done
[ -n "$ended" ] || fail "no end within $MAX_SITTINGS sittings"

dialog_keys "$ended" Return
wait_no_window '^Game has ended$' || fail "the announcement stays"
shot "after-the-end"
# After the end, N starts a new game without asking.
game_key n
sleep 0.5
window_exists '^New game\?$' && fail "a finished game must not ask"
shot "new-game"
game_key Escape
wait_game_exit

[ -f "$archive" ] || fail "no archive file"
expect_line "$archive" "Game ended: 1"
grep -q '^Game #: 1 (saved ' "$archive" || fail "the archive lacks game 1"
grep -q '^Game #: 2 (saved ' "$current" || fail "the current game is not game 2"
moves=$(sed -n 's/^Recorded moves: //p' "$archive" | tr -d '\r')
log "whole game: $moves plies archived as ended"
[ "${moves:-0}" -ge 2 ] || fail "the archived game has no moves"
