// Undo, redo, new game and the key dispatch.
#include "interaction/commands.h"

#include "game/game_application.h"
#include "game/new_game.h"
#include "interaction/captured_pieces.h"
#include "interaction/hint.h"
#include "interaction/interaction.h"
#include "platform/texts.h"

namespace rq {

namespace {

enum class HistoryStep { Back, Forward };

// One ply back or forward in the history, the taken pieces and the arrow following it;
// false when there was none to take. The lock is held.
bool StepOnePly(GameApplication& app, HistoryStep step, Move& m) {
  GameRecord& record = app.game.record;
  if (step == HistoryStep::Back) {
    if (!record.undoMove(m)) return false;
    RemoveEatenPiece(app, m.captured);
  } else {
    if (!record.redoMove(m)) return false;
    app.lastMove = m;
    AddEatenPiece(app, m);
  }
  return true;
}

// Undo and redo alike: two plies, the user's move and the computer's answer. The hint and
// the markers go with a position that changed; the drawn board and the record window
// follow the engine's position, and the piece under the pointer is judged afresh.
void StepTwoPlies(GameApplication& app, HistoryStep step) {
  GuardedGame& game = app.game;
  GameRecord& record = game.record;
  {
    GameLockGuard hold(game);
    Move m;  // newly built, for the history to fill
    if (StepOnePly(app, step, m)) {
      DropHint(app);
      app.candidatesShown = false;
      app.hoveredPiece = -1;
      StepOnePly(app, step, m);
      if (step == HistoryStep::Back) {
        game.gameEnded = false;
        app.gameDrawn = false;  // a later end must not inherit the draw text of this one
        HighlightLastPlayedMove(app);
      }
    }
    // Reaching the recorded end of a finished game ends it again.
    if (step == HistoryStep::Forward) game.gameEnded = record.moveCount >= record.endPly;
    app.savedBoard = record.position;
    PublishMoveRecord(app);
  }
  OnPointerMove(app, app.pointerX, app.pointerY);
}

}  // namespace

// Two plies back; the move now last on the board stays highlighted.
void UndoCommand(GameApplication& app) { StepTwoPlies(app, HistoryStep::Back); }

// Two plies forward.
void RedoCommand(GameApplication& app) { StepTwoPlies(app, HistoryStep::Forward); }

// A finished game is left without asking; a held piece goes back before the save.
void NewGameCommand(GameApplication& app) {
  if (!UnderGameLock(app.game, [&] { return app.game.gameEnded; })) {
    const MessageAnswer answer =
        app.platform->ShowMessage(_("New game?"), _("Do you want to quit this game and start a new one?"),
                                  MessageButtons::YesNo, MessageIcon::Question);
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
  // The whole command holds the lock, the new-game question and the settings dialog too:
  // commands come only on the user's turn, so no search waits for it.
  GameLockGuard hold(app.game);
  if (!app.game.usersTurn) return;
  EndDrag(app);
  switch (key) {
    case KeyNewGame: NewGameCommand(app); break;
    case KeySettings: SettingsCommand(app); break;
    case KeyRedo: RedoCommand(app); break;
    case KeyUndo: UndoCommand(app); break;
    default: break;
  }
}

}  // namespace rq
