// Undo, redo, new game, resigning, turning the board and the key dispatch.
#include "interaction/commands.h"

#include <string>

#include "game/game_application.h"
#include "game/new_game.h"
#include "interaction/captured_pieces.h"
#include "interaction/computer_turn.h"
#include "interaction/hint.h"
#include "interaction/interaction.h"
#include "interaction/open_game.h"
#include "interaction/position_editor.h"
#include "platform/texts.h"

namespace rq {

namespace {

enum class HistoryStep { Back, Forward };

// One ply back or forward in the history, the taken pieces and the arrow following it;
// false when there was none to take. The lock is held.
bool StepOnePly(GameApplication& app, HistoryStep step, Move& m) {
  GameRecord& record = app.game.record;
  if (step == HistoryStep::Back) {
    if (!UndoAvailable(app) || !record.undoMove(m)) return false;
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
        // Taking a move back withdraws a resignation: redo no longer leads to an end.
        if (game.resigned) record.endPly = NoEndPly;
        game.resigned = false;
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

// The new-game question, naming the side the new game gives unless a red player keeps red.
const char* NewGameQuestionText(GameApplication& app) {
  GameLockGuard hold(app.game);
  const int side = NextGameSide(app);
  const bool redAgain = side == Red && app.game.playerSide() == Red;
  return redAgain ? NewGameQuestion : side == Red ? NewGameAsRedQuestion : NewGameAsGreenQuestion;
}

}  // namespace

// The computer's first move, when it moved first, is not the player's to take back.
bool UndoAvailable(const GameApplication& app) {
  const GameRecord& record = app.game.record;
  return record.canUndo() && record.moveCount > (app.game.playerSide() != record.startSide ? 1 : 0);
}

// Two plies back; the move now last on the board stays highlighted.
void UndoCommand(GameApplication& app) { StepTwoPlies(app, HistoryStep::Back); }

// Two plies forward.
void RedoCommand(GameApplication& app) { StepTwoPlies(app, HistoryStep::Forward); }

// A finished game is left without asking; a held piece goes back before the save.
void NewGameCommand(GameApplication& app) {
  if (!UnderGameLock(app.game, [&] { return app.game.gameEnded; })) {
    const char* question = NewGameQuestionText(app);
    const MessageAnswer answer = app.platform->ShowMessage(_(NewGameQuestionTitle), _(question),
                                                           MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageAnswer::Yes) return;
  }
  EndDrag(app);
  DropHint(app);
  StartNewGame(app);
}

// The game ends where it stands: the moves redo could bring back go, and the end is
// announced as the computer's win.
void ResignCommand(GameApplication& app) {
  GuardedGame& game = app.game;
  if (!UnderGameLock(game, [&] { return game.usersTurn && !game.gameEnded; })) return;
  EndDrag(app);
  if (app.platform->ShowMessage(_(ResignTitle), _(ResignQuestion), MessageButtons::YesNo, MessageIcon::Question) !=
      MessageAnswer::Yes)
    return;
  DropHint(app);
  {
    GameLockGuard hold(game);
    game.record.forgetRedoMoves();
    game.record.endPly = game.record.recordedMoves;
    game.gameEnded = true;
    game.resigned = true;
    app.gameDrawn = false;
    app.computerEndAnnouncement = true;
    app.candidatesShown = false;
    app.hoveredPiece = -1;
    PublishMoveRecord(app);
  }
  OnPointerMove(app, app.pointerX, app.pointerY);
}

// The markers follow the pointer to whatever now lies under it.
void TurnBoardCommand(GameApplication& app) {
  EndDrag(app);
  app.boardTurned = !app.boardTurned;
  app.candidatesShown = false;
  app.hoveredPiece = -1;
  OnPointerMove(app, app.pointerX, app.pointerY);
}

// Copying only reads the board, so it answers in the computer's turn too; opening asks
// for the player's turn itself.
void OnControlKey(GameApplication& app, int32_t key) {
  if (app.editor.active && key != KeyCopy) return;  // Escape or Return leaves the editor first
  switch (key) {
    case KeyOpen: OpenCommand(app); break;
    case KeyPaste: PasteCommand(app); break;
    case KeyCopy: CopyPositionCommand(app); break;
    default: break;
  }
}

// Letters act only on the user's turn; a held piece goes back before any command.
void OnKeyDown(GameApplication& app, int32_t key) {
  if (app.editor.active) return EditorKey(app, key);
  if (key == KeySetUp) return EnterEditor(app);
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
  // Turning the board changes only the view, so F answers in the computer's turn too.
  if (key == KeyTurnBoard) return TurnBoardCommand(app);
  if (key != KeyNewGame && key != KeySettings && key != KeyRedo && key != KeyUndo && key != KeyResign) return;
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
    case KeyResign: ResignCommand(app); break;
    default: break;
  }
}

}  // namespace rq
