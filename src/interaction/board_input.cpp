// Picking up, dragging and dropping the player's pieces, with the candidate list the markers show.
#include "interaction/board_input.h"

#include "game/game_application.h"
#include "interaction/board_picking.h"
#include "interaction/captured_pieces.h"
#include "interaction/command_menu.h"
#include "interaction/hint.h"
#include "interaction/interaction.h"
#include "interaction/position_editor.h"

namespace rq {

namespace {

constexpr int CandidateSlot = 0;

// Judges one generated move into its candidate status: 2 or 1 permitted, -reason prohibited.
Move JudgedCandidate(GameRecord& record, const Move& generated, int32_t permittedStatus) {
  Move m = generated;
  int32_t reason = 0;
  int32_t detail = 0;
  if (record.validateMove(m, reason, detail)) {
    m.status = permittedStatus;
    m.detail = 0;
  } else {
    m.status = -reason;
    m.detail = detail;
  }
  return m;
}

// Copies slot 0 behind the entries already listed; returns how many were generated.
int32_t AppendJudged(GameApplication& app, int32_t permittedStatus) {
  GameRecord& record = app.game.record;
  const MoveSlot& slot = record.moveSlots[CandidateSlot];
  const int32_t generated = slot.count();
  for (int32_t i = 0; i < generated; ++i) {
    if (app.candidateCount >= CandidateCapacity) break;
    // Validation generates into its own slots, so slot 0 stays as listed.
    app.candidateMoves[app.candidateCount++] = JudgedCandidate(record, slot.cells[i], permittedStatus);
  }
  return generated;
}

// Puts the held piece back on its square in the drawn board.
void ReturnHeldPiece(GameApplication& app) {
  const int32_t from = app.draggedPiece.fromSquare;
  if (from >= 0 && from < BoardSquares) app.savedBoard.squares[from] = static_cast<uint8_t>(app.draggedPiece.code & 0xFF);
}

// Plays the candidate for the drop square, if one is permitted (or a drawing repetition).
bool DropOnSquare(GameApplication& app, int square) {
  const int32_t count = app.candidateCount < CandidateCapacity ? app.candidateCount : CandidateCapacity;
  const uint8_t* squares = app.game.record.position.squares;
  for (int32_t i = 0; i < count; ++i) {
    const Move& m = app.candidateMoves[i];
    if (m.to != square || !(m.status > 0 || m.status == -ReasonRepetition)) continue;
    // A list left from another piece or position must never be played.
    if (m.from != app.draggedPiece.fromSquare || squares[m.from] != (app.draggedPiece.code & 0xFF)) continue;
    PlayUserMove(app, m);
    return true;
  }
  return false;
}

}  // namespace

// A cursor file that could not be read must not leave the pointer invisible.
void SetAppCursor(GameApplication& app, CursorHandle cursor) {
  app.platform->SetCursor(cursor ? cursor : app.arrowCursor);
}

// Captures first, then quiet moves, both in generation order, in move slot 0.
void BuildCandidates(GameApplication& app, int index) {
  GameRecord& record = app.game.record;
  app.hoveredPiece = index;
  app.candidateCount = 0;
  const int side = app.game.playerSide();
  record.generateCaptures(side, index, CandidateSlot);
  app.captureCandidateCount = AppendJudged(app, 2);
  record.generateQuietMoves(side, index, CandidateSlot);
  app.quietCandidateCount = AppendJudged(app, 1);
  app.candidateCount = app.captureCandidateCount + app.quietCandidateCount;
  if (app.candidateCount > CandidateCapacity) app.candidateCount = CandidateCapacity;
}

// The move is made, recorded and shown; then the game ends or the computer is asked.
void PlayUserMove(GameApplication& app, Move move) {
  GuardedGame& game = app.game;
  GameRecord& record = game.record;
  DropHint(app);
  game.generalCaptured = record.makeMove(game.playerSide(), move);
  record.recordMove(move);
  AddEatenPiece(app, move);
  record.endPly = NoEndPly;
  app.lastMove = move;
  game.usersTurn = false;
  app.savedBoard = record.position;
  PublishMoveRecord(app);
  if (move.status == -ReasonRepetition) {
    game.gameEnded = true;
    record.endPly = record.recordedMoves;
    app.userEndAnnouncement = true;
    app.gameDrawn = true;
  } else if (game.generalCaptured) {
    game.gameEnded = true;
    record.endPly = record.recordedMoves;
    app.userEndAnnouncement = true;
  } else {
    RequestComputerMove(game);
    app.computerMoveReady = false;
  }
}

// Tracks the pointer: the explanation while dragging, else cursor, candidates and menu.
void OnPointerMove(GameApplication& app, int32_t x, int32_t y) {
  app.pointerX = x;
  app.pointerY = y;
  app.explanationShown = false;
  if (app.editor.active) return;  // the editor's held piece follows the pointer as it is drawn
  const ScenePoint pointer = PointerToScene(app, x, y);

  if (app.draggedPiece.code >= 0) {
    const int square = SquareAtPoint(app, DraggedPieceCentre(app, pointer));
    if (square < 0) return;
    const int32_t count = app.candidateCount < CandidateCapacity ? app.candidateCount : CandidateCapacity;
    for (int32_t i = 0; i < count; ++i) {
      const Move& m = app.candidateMoves[i];
      if (m.to == square && m.status < 0) {
        app.explanationShown = true;
        app.explanationReason = -m.status;
      }
    }
    return;
  }

  GuardedGame& game = app.game;
  GameLockGuard hold(game);
  if (game.gameEnded) {
    UpdateMenuHover(app);
  } else if (!game.usersTurn) {
    SetAppCursor(app, app.busyCursor);
  } else {
    PickedPiece picked;
    if (!PieceAtPoint(app, pointer, picked)) {
      UpdateMenuHover(app);
    } else {
      SetAppCursor(app, app.copyCursor);
      const int index = picked.code & IndexMask;
      if (index != app.hoveredPiece) BuildCandidates(app, index);
      app.candidatesShown = true;
    }
  }
}

// The markers go with the pointer; a held piece keeps them, since its drag goes on.
void OnPointerLeave(GameApplication& app) {
  if (app.draggedPiece.code < 0) app.candidatesShown = false;
}

// Lifts one of the player's pieces out of the drawn board on the user's turn.
void OnButtonDown(GameApplication& app, int32_t x, int32_t y) {
  app.buttonDown = true;
  if (app.editor.active) return EditorButtonDown(app, x, y);
  GuardedGame& game = app.game;
  GameLockGuard hold(game);
  if (game.gameEnded || !game.usersTurn) return;
  // A second press without a release in between must not lose the piece already held.
  if (app.draggedPiece.code >= 0) ReturnHeldPiece(app);
  PickedPiece picked;
  if (PieceAtPoint(app, PointerToScene(app, x, y), picked)) {
    const int index = picked.code & IndexMask;
    // A hint still being searched would answer for a position about to change.
    if (app.hint.asked != 0) DropHint(app);
    // Judged afresh for the position of this press, never taken from an older hover.
    BuildCandidates(app, index);
    app.candidatesShown = true;
    app.draggedPiece.code = picked.code;
    app.draggedPiece.fromSquare = picked.square;
    app.draggedPiece.grabOffsetX = picked.grabOffsetX;
    app.draggedPiece.grabOffsetY = picked.grabOffsetY;
    app.savedBoard.squares[picked.square] = 0;
  } else {
    app.draggedPiece.code = -1;
  }
}

// Drops the held piece (playing its move or putting it back) or clicks the menu.
void OnButtonUp(GameApplication& app, int32_t x, int32_t y) {
  app.buttonDown = false;
  if (app.editor.active) return EditorButtonUp(app, x, y);
  GuardedGame& game = app.game;
  {
    // A menu click runs its command with the lock held, the new-game question, the
    // settings dialog and the help start too: commands come only on the user's turn or
    // after the game has ended, so no search waits for it.
    GameLockGuard hold(game);
    if (game.gameEnded) {
      MenuClick(app, x, y);
      return;
    }
    if (game.usersTurn) {
      if (app.draggedPiece.code < 0) {
        MenuClick(app, x, y);
      } else {
        const int square = SquareAtPoint(app, DraggedPieceCentre(app, PointerToScene(app, x, y)));
        const bool played = square >= 0 && app.candidateCount > 0 && DropOnSquare(app, square);
        if (!played) ReturnHeldPiece(app);
        app.draggedPiece.code = -1;
      }
    }
  }
  EndDrag(app);
  app.candidatesShown = false;
  app.hoveredPiece = -1;
  OnPointerMove(app, app.pointerX, app.pointerY);
}

// Called before the game is saved or the position changes under a held piece.
void EndDrag(GameApplication& app) {
  if (app.draggedPiece.code < 0) return;
  UnderGameLock(app.game, [&] { ReturnHeldPiece(app); });
  app.draggedPiece.code = -1;
  app.draggedPiece.fromSquare = -1;
  app.candidatesShown = false;
  app.hoveredPiece = -1;
  app.explanationShown = false;
}

}  // namespace rq
