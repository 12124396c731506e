// The per-frame hand-over of the computer's move, and the end-of-game announcements.
#include "interaction/computer_turn.h"

#include "game/game_application.h"
#include "interaction/board_input.h"
#include "interaction/captured_pieces.h"
#include "interaction/hint.h"
#include "interaction/interaction.h"
#include "player/search.h"

namespace rq {

namespace {

// A game ended by the user's move leaves the turn with the computer until this frame
// hands it back, so that the frame is drawn without the thinking ball.
void ReturnTurnForAnnouncement(GameApplication& app) {
  if (!app.userEndAnnouncement && !app.computerEndAnnouncement) return;
  GameLockGuard hold(app.game);
  app.game.usersTurn = true;
}

// The published move is on the board and one that the computer's piece can make; caller holds the lock.
bool ComputerMovePlayable(GameApplication& app) {
  const Move& m = app.game.bestMove;
  if (!IsBoardMove(m)) return false;
  return app.game.record.pieceCanMove(app.game.computerSide, m.from, m.to);
}

// The computer could not move (or published no usable move): the user has won.
void ComputerCannotMove(GameApplication& app) {
  app.computerEndAnnouncement = false;
  app.game.record.endPly = app.game.record.recordedMoves;
  app.userEndAnnouncement = true;
  app.game.gameEnded = true;
  app.game.usersTurn = true;
}

// Makes and records the computer's move and judges the end; caller holds the lock.
void PlayComputerMove(GameApplication& app) {
  GuardedGame& game = app.game;
  GameRecord& record = game.record;
  Move& best = game.bestMove;
  game.generalCaptured = record.makeMove(game.computerSide, best);
  record.recordMove(best);
  if (game.generalCaptured) app.computerEndAnnouncement = true;
  AddEatenPiece(app, best);
  game.usersTurn = true;
  app.lastMove = best;
  app.savedBoard = record.position;
  PublishMoveRecord(app);
  if (game.generalCaptured || best.detail == ReasonRepetition) {
    game.gameEnded = true;
    record.endPly = record.recordedMoves;
    if (best.detail == ReasonRepetition) {
      app.gameDrawn = true;
      app.computerEndAnnouncement = true;
    }
  }
  // Without a permitted move the player has lost, in check or not.
  if (!record.hasPermittedMove(game.playerSide())) {
    game.gameEnded = true;
    record.endPly = record.recordedMoves;
    app.computerEndAnnouncement = true;
    app.userEndAnnouncement = false;
    app.gameDrawn = false;
  }
}

}  // namespace

// Busy while the worker thinks; then animate for at least 500 ms, play, and judge the end.
void UpdateComputerTurn(GameApplication& app) {
  UpdateHint(app);
  GuardedGame& game = app.game;
  bool requested, searching, ended, usersTurn;
  {
    GameLockGuard hold(game);
    requested = game.searchRequested;
    searching = game.searching;
    ended = game.gameEnded;
    usersTurn = game.usersTurn;
  }
  app.usersTurnAtFrameStart = usersTurn;

  // On the user's turn the worker can only be searching a hint, and the user may move.
  if ((requested || searching) && !usersTurn) {
    SetAppCursor(app, app.busyCursor);
    return;
  }
  if (usersTurn || ended) {
    if (ended) ReturnTurnForAnnouncement(app);
    return;
  }

  SetAppCursor(app, app.arrowCursor);
  {
    GameLockGuard hold(game);
    if (game.noMoves || !ComputerMovePlayable(app)) {
      ComputerCannotMove(app);
      app.computerMoveAnimating = false;
      return;
    }
  }

  Platform& platform = *app.platform;
  if (!app.computerMoveReady) {
    if (!app.computerMoveAnimating) {
      GameLockGuard hold(game);
      game.progress = 1.0;
      app.animationStart = platform.ElapsedMilliseconds();
      app.animProgress = 0.0;
      app.computerMoveAnimating = true;
      app.animatedMove = game.bestMove;
      return;
    }
    const int32_t elapsed = platform.ElapsedMilliseconds() - app.animationStart;
    if (elapsed <= ComputerMoveAnimationMs) {
      app.animProgress = elapsed * 0.002;
    } else {
      app.animProgress = 1.0;
      app.computerMoveReady = true;
    }
    return;
  }

  app.computerMoveAnimating = false;
  UnderGameLock(game, [&] { PlayComputerMove(app); });
  OnPointerMove(app, app.pointerX, app.pointerY);
}

// Shows each pending announcement once; the lock is not held while a box is open.
void AnnounceEndOfGame(GameApplication& app) {
  if (app.userEndAnnouncement) {
    app.userEndAnnouncement = false;
    app.platform->ShowMessage(_(GameEndedTitle), _(app.gameDrawn ? DrawText : UserWonText), MessageButtons::Ok,
                              MessageIcon::NoIcon);
  }
  if (app.computerEndAnnouncement) {
    app.computerEndAnnouncement = false;
    app.platform->ShowMessage(_(GameEndedTitle), _(app.gameDrawn ? DrawText : ComputerWonText), MessageButtons::Ok,
                              MessageIcon::NoIcon);
  }
}

}  // namespace rq
