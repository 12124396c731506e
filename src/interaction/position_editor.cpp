#include "interaction/position_editor.h"

#include <cstring>
#include <string>

#include "game/game_application.h"
#include "game/game_reader.h"
#include "interaction/hint.h"
#include "interaction/interaction.h"
#include "interaction/open_game.h"
#include "platform/texts.h"
#include "rules/notation.h"
#include "rules/position_check.h"

namespace rq {

namespace {

constexpr const char* EditorTitle = N_("Set up a position");

// Four kinds above the crystal ball's place, three below it.
constexpr double TrayTop = 130, TrayLowerTop = 640, TrayStep = 90, TrayLeftX = 56, TrayRightX = 968;
// The tray's piece under the pointer: its side and kind; false when there is none.
bool TrayPieceAt(ScenePoint p, int& side, int& kind) {
  for (side = Red; side <= Green; ++side)
    for (kind = 1; kind <= TrayKinds; ++kind) {
      const ScenePoint c = TrayCentre(side, kind);
      if ((p.x - c.x) * (p.x - c.x) + (p.y - c.y) * (p.y - c.y) <= PickRadius * PickRadius) return true;
    }
  return false;
}

// The side to move after the game's moves.
int SideToMove(const GameApplication& app) {
  const GameRecord& record = app.game.record;
  return (record.startSide + record.moveCount) % 2;
}

// Closes the editor; the drawn board was never touched.
void Leave(GameApplication& app) {
  app.editor.active = false;
  app.editor.heldCode = -1;
  OnPointerMove(app, app.pointerX, app.pointerY);
}

// Checks the position and starts a game from it; the editor stays open on a fault.
void StartFromEditor(GameApplication& app) {
  PositionEditor& e = app.editor;
  const std::string fen = WriteFen(e.squares, e.sideToMove);
  auto record = std::make_unique<GameRecord>();
  int side = Red;
  PositionFault fault;
  if (!LoadCheckedFen(*record, fen, side, fault)) {
    const std::string text = PositionImpossible(fault);
    app.platform->ShowMessage(_(EditorTitle), text.c_str(), MessageButtons::Ok, MessageIcon::Exclamation);
    return;
  }
  e.active = false;  // the question and the new game see the game, not the editor
  if (!OpenGameText(app, fen)) e.active = true;
  else e.heldCode = -1;
}

}  // namespace

uint8_t FreePiece(const uint8_t* squares, int side, int kind) {
  for (int index = KindFirstIndex[kind]; index < KindFirstIndex[kind] + KindCapacity[kind]; ++index) {
    const uint8_t code = static_cast<uint8_t>(colourBit(side) | index);
    if (std::memchr(squares, code, BoardSquares) == nullptr) return code;
  }
  return 0;
}

ScenePoint TrayCentre(int side, int kind) {
  const double y = kind <= 4 ? TrayTop + TrayStep * (kind - 1) : TrayLowerTop + TrayStep * (kind - 5);
  return {side == Green ? TrayLeftX : TrayRightX, y};
}

void EnterEditor(GameApplication& app) {
  GameLockGuard hold(app.game);
  if (!app.game.usersTurn && !app.game.gameEnded) return;
  EndDrag(app);
  DropHint(app);
  std::memcpy(app.editor.squares, app.savedBoard.squares, BoardSquares);
  app.editor.sideToMove = SideToMove(app);
  app.editor.heldCode = -1;
  app.editor.active = true;
  app.candidatesShown = false;
  app.hoveredPiece = -1;
  app.explanationShown = false;
}

void EditorKey(GameApplication& app, int32_t key) {
  PositionEditor& e = app.editor;
  switch (key) {
    case KeyEscape: Leave(app); break;
    case KeyReturn: StartFromEditor(app); break;
    case KeyEmptyBoard: std::memset(e.squares, 0, BoardSquares); break;
    case KeyOpeningPosition:
      std::memcpy(e.squares, StartSquares, BoardSquares);
      e.sideToMove = Red;
      break;
    case KeySideToMove: e.sideToMove = 1 - e.sideToMove; break;
    default: break;
  }
}

void EditorButtonDown(GameApplication& app, int32_t x, int32_t y) {
  PositionEditor& e = app.editor;
  const ScenePoint p = PointerToScene(app, x, y);
  const int square = SquareAtPoint(app, p);
  int side = Red, kind = NoKind;
  if (square >= 0 && e.squares[square] != 0) {
    e.heldCode = e.squares[square];
    e.squares[square] = 0;
  } else if (TrayPieceAt(p, side, kind)) {
    const uint8_t code = FreePiece(e.squares, side, kind);
    e.heldCode = code != 0 ? code : -1;
  }
}

// A piece dropped on a point takes it, sending any piece there away; dropped elsewhere, it goes.
void EditorButtonUp(GameApplication& app, int32_t x, int32_t y) {
  PositionEditor& e = app.editor;
  if (e.heldCode < 0) return;
  const int square = SquareAtPoint(app, PointerToScene(app, x, y));
  if (square >= 0) e.squares[square] = static_cast<uint8_t>(e.heldCode);
  e.heldCode = -1;
}

}  // namespace rq
