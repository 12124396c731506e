#include "interaction/hint.h"

#include "game/game_application.h"
#include "player/search.h"

namespace rq {

// Asks for the hint, or shows more of one already asked for.
void HintCommand(GameApplication& app) {
  HintDisplay& hint = app.hint;
  const bool usable = UnderGameLock(app.game, [&] { return app.game.usersTurn && !app.game.gameEnded; });
  if (!usable || app.draggedPiece.code >= 0) return;
  if (hint.stage > 0) {
    hint.stage = 2;
  } else if (hint.asked != 0) {
    hint.wanted = 2;
  } else {
    hint.wanted = 1;
    hint.asked = RequestHint(app.game);
  }
}

// Shows the stage asked for once the answer is in; a move that is not one of the player's
// pieces' on the drawn board is no hint, and nothing is shown.
void UpdateHint(GameApplication& app) {
  HintDisplay& hint = app.hint;
  if (hint.asked == 0) return;
  GameLockGuard hold(app.game);
  if (app.game.hintAnswered != hint.asked) return;
  hint.asked = 0;
  hint.move = app.game.hintMove;
  const uint8_t colour = colourBit(app.game.playerSide());
  const bool players = IsBoardMove(hint.move) && (app.savedBoard.squares[hint.move.from] & colour) != 0;
  hint.stage = players ? hint.wanted : 0;
}

// The hint goes with any change of the position; its search is cut short.
void DropHint(GameApplication& app) {
  if (app.hint.asked != 0) StopHint(app.game);
  app.hint = HintDisplay{};
}

// The ring pulses while shown; the ball fills while the hint is searched.
bool HintAnimating(const GameApplication& app) { return app.hint.stage > 0 || app.hint.asked != 0; }

}  // namespace rq
