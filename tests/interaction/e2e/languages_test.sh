#!/usr/bin/env bash
# The real program started once in each language's locale, as a desktop sets it: the start-up
# message, the banner of a drawing repetition, the command menu, the settings dialog and the
# new game's question, each on a screenshot. The dialogs' titles are the catalogue's; the menu
# and the banner are drawn from the language's pictures (they differ from the English ones and
# from each other), the rest of the board stays as in English; the window title never changes.
source "$(dirname "$0")/e2e_lib.sh"
: "${RQ_REFEREE:?path of the referee}" "${RQ_LOCALE:?the build tree\'s catalogues}"
languages=(en:C.UTF-8 zh_CN:zh_CN.UTF-8 zh_TW:zh_TW.UTF-8 vi:vi_VN.UTF-8 fi:fi_FI.UTF-8)
for entry in "${languages[@]:1}"; do
  locale -a 2>/dev/null | grep -qix "${entry#*:}" && continue
  locale -a 2>/dev/null | grep -qix "$(sed 's/UTF-8/utf8/' <<<"${entry#*:}")" && continue
  [ "${CI:-}" = true ] && fail "the locale ${entry#*:} is not generated (scripts/setup.sh does it)"
  echo "SKIP: the locale ${entry#*:} is not generated (scripts/setup.sh does it)"; exit 0
done
# A text as the catalogue of language $1 has it.
translated() { LANGUAGE=$1 LC_ALL=C.UTF-8 TEXTDOMAINDIR=$RQ_LOCALE gettext -d ravenquill "$2"; }
# The game window's strip "x y w h" (scene units) of screenshot $1 into $2.
strip() {
  local x y w h; read -r x y w h <<<"$3"
  convert "$1" -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage \
    -crop "$(px "$w")x$(px "$h")+$(px "$x")+$(px "$y")" +repage "$2"
}
# The game window's place once it has stopped changing: the game fits and squares it after it appears.
settled_window() {
  local before="" now
  for _ in $(seq 30); do
    now=$(geometry "$GAME_WINDOW"); [ "$now" = "$before" ] && break; before=$now; sleep 0.3
  done
  read -r WIN_X WIN_Y WIN_W WIN_H <<<"$now"; SCALE=$(awk -v h="$WIN_H" 'BEGIN { print h / 1024 }')
}
MENU="930 0 94 1024" BANNER="256 980 512 44" BOARD="0 0 900 450"  # green's half: no marker pulses there

start_display; write_settings 1
for entry in "${languages[@]}"; do
  lang=${entry%%:*}; log "$lang"
  # Four rounds of the two horses out and back: red's horse out again repeats for the fifth time.
  "$RQ_REFEREE" play "$WORK/CurrentGame_$NAME.vrd5" $(printf 'b0c2 b9c7 c2b0 c7b9 %.0s' 1 2 3 4) || fail "no game to continue"
  LANGUAGE="" LC_ALL="" LC_MESSAGES="" LANG=${entry#*:} start_game
  message=$(titled_window 'Ravenquill') || fail "$lang: no start-up message"
  sleep 0.5; shot "$lang-message"; dialog_keys "$message" Return; wait_no_title 'Ravenquill'
  wait_game_window; settled_window  # its title is the same in every language
  # A drag held over the point of the repetition shows its banner.
  pointer_to "$(point_x b0)" "$(point_y b0)"; xdotool mousedown 1; sleep 0.15
  pointer_to "$(point_x c2)" "$(point_y c2)"; sleep 0.8; shot "$lang-banner"; strip "$SHOT" "$WORK/$lang-banner.png" "$BANNER"
  pointer_to "$(point_x b0)" "$(point_y b0)"; xdotool mouseup 1; sleep 0.3
  pointer_to 1010 500; sleep 1.2; settled_window; shot "$lang-menu"
  strip "$SHOT" "$WORK/$lang-menu.png" "$MENU"; strip "$SHOT" "$WORK/$lang-board.png" "$BOARD"
  cp "$WORK/$lang-menu.png" "$WORK/$lang-board.png" "$WORK/$lang-banner.png" "$RQ_ARTIFACTS/"
  title=$(translated "$lang" "Ravenquill Settings")
  game_key s; dialog=$(titled_window "$title") || fail "$lang: no settings dialog titled \"$title\""
  sleep 0.5; shot "$lang-settings"; dialog_keys "$dialog" Escape; wait_no_title "$title"
  title=$(translated "$lang" "New game?")
  game_key n; question=$(titled_window "$title") || fail "$lang: no question titled \"$title\""
  sleep 0.5; shot "$lang-question"; dialog_keys "$question" Escape; wait_no_title "$title"
  game_key Escape; wait_game_exit
  expect_line "$WORK/CurrentGame_$NAME.vrd5" "Recorded moves: 16"
  [ "$lang" != en ] || continue
  board=$(differing "$WORK/en-board.png" "$WORK/$lang-board.png")
  [ "$board" -lt 50 ] || fail "$lang: the board is not drawn as in English ($board pixels differ)"
  for other in "${languages[@]}"; do
    other=${other%%:*}; [ "$other" = "$lang" ] && break
    for part in menu banner; do
      count=$(differing "$WORK/$other-$part.png" "$WORK/$lang-$part.png")
      [ "$count" -gt 300 ] || fail "$lang: the $part is drawn as in $other (only $count pixels differ)"
    done
  done
  log "$lang: message, banner, menu, settings and question shown"
done
