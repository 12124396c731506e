// Undo, redo, new game and the key dispatch.
#include "interaction/commands.h"

#include "game/game_application.h"
#include "game/new_game.h"
#include "interaction/captured_pieces.h"
#include "interaction/hint.h"
#include "interaction/interaction.h"

namespace rq {

namespace {

// A move record for the history to fill.
Move BlankMove() {
  Move m;
  m.from = 0;
  m.to = NoSquare;
  return m;
}

}  // namespace

// Two plies back; the move now last on the board stays highlighted.
void UndoCommand(GameApplication& app) {
  GuardedGame& game = app.game;
  GameRecord& record = game.record;
  LockGame(game);
  Move m = BlankMove();
  if (record.undoMove(m)) {
    DropHint(app);
    app.candidatesShown = false;
    app.hoveredPiece = -1;
    game.gameEnded = false;
    app.gameDrawn = false;  // a later end must not inherit the draw text of this one
    app.lastMove = m;
    RemoveEatenPiece(app, m.captured);
    if (record.undoMove(m)) {
      app.lastMove = m;
      RemoveEatenPiece(app, m.captured);
    }
    app.lastMove.status = NoLastMove;
    if (record.moveCount > 0) {
      const HistoryEntry& e = record.history[record.moveCount - 1];
      app.lastMove.status = 0;
      app.lastMove.from = e.from;
      app.lastMove.to = e.to;
      app.lastMove.captured = e.captured;
    }
  }
  app.savedBoard = record.position;
  PublishMoveRecord(app);
  UnlockGame(game);
  OnPointerMove(app, app.pointerX, app.pointerY);
}

// Two plies forward; reaching the recorded end of a finished game ends it again.
void RedoCommand(GameApplication& app) {
  GuardedGame& game = app.game;
  GameRecord& record = game.record;
  LockGame(game);
  Move m = BlankMove();
  if (record.redoMove(m)) {
    DropHint(app);
    app.candidatesShown = false;
    app.hoveredPiece = -1;
    app.lastMove = m;
    AddEatenPiece(app, m);
    if (record.redoMove(m)) {
      app.lastMove = m;
      AddEatenPiece(app, m);
    }
  }
  game.gameEnded = record.moveCount >= record.endPly;
  app.savedBoard = record.position;
  PublishMoveRecord(app);
  UnlockGame(game);
  OnPointerMove(app, app.pointerX, app.pointerY);
}

// A finished game is left without asking; a held piece goes back before the save.
void NewGameCommand(GameApplication& app) {
  LockGame(app.game);
  const bool ended = app.game.gameEnded;
  UnlockGame(app.game);
  if (!ended) {
    const MessageAnswer answer = app.platform->ShowMessage(
        "New game?", "Do you want to quit this game and start a new one?", MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageAnswer::Yes) return;
  }
  EndDrag(app);
  DropHint(app);
  StartNewGame(app);
}

// Letters act only on the user's turn; a held piece goes back before any command.
void OnKeyDown(GameApplication& app, int32_t key) {
  // The record window only looks on, so it opens and closes in the computer's turn too.
  if (key == KeyMoveList) {
    ToggleMoveRecord(app);
    return;
  }
  // Help only opens a page, so F1 answers in the computer's turn too; a held piece goes back first.
  if (key == KeyHelp) {
    EndDrag(app);
    return HelpCommand(app);
  }
  if (key == KeyHint) return HintCommand(app);
  if (key != KeyNewGame && key != KeySettings && key != KeyRedo && key != KeyUndo) return;
  LockGame(app.game);
  if (app.game.usersTurn) {
    EndDrag(app);
    switch (key) {
      case KeyNewGame: NewGameCommand(app); break;
      case KeySettings: SettingsCommand(app); break;
      case KeyRedo: RedoCommand(app); break;
      case KeyUndo: UndoCommand(app); break;
      default: break;
    }
  }
  UnlockGame(app.game);
}

}  // namespace rq
