#include "interaction/board_picking.h"

#include "game/game_application.h"

namespace rq {

namespace {

// Whether `p` lies strictly within the pick radius of `centre`.
bool WithinPickRadius(ScenePoint p, ScenePoint centre) {
  const double dx = p.x - centre.x;
  const double dy = p.y - centre.y;
  return dx * dx + dy * dy < PickRadius * PickRadius;
}

}  // namespace

// Divides by the view scale; a minimised window may report none.
ScenePoint PointerToScene(const GameApplication& app, int32_t x, int32_t y) {
  const double scale = app.viewScale > 0.0 ? app.viewScale : 1.0;
  return {x / scale, y / scale};
}

// The point's centre in the pointer's orientation (y down from the top edge).
ScenePoint PickingCentre(const GameApplication& app, int square) {
  const Point centre = PointCentre(app, square);
  return {centre.x, SceneSize - centre.y};
}

// Centres are 90 apart, so at most one square qualifies.
int SquareAtPoint(const GameApplication& app, ScenePoint p) {
  for (int square = 0; square < BoardSquares; ++square)
    if (WithinPickRadius(p, PickingCentre(app, square))) return square;
  return -1;
}

// The computer's pieces are never picked; the grab offset keeps the piece where it was seized.
bool PieceAtPoint(const GameApplication& app, ScenePoint p, PickedPiece& picked) {
  const GameRecord& record = app.game.record;
  const int side = app.game.playerSide();
  for (int index = 1; index <= PiecesPerSide; ++index) {
    const uint8_t entry = record.pieceSquare[side][index];
    if (isCaptured(entry) || entry >= BoardSquares) continue;
    const ScenePoint centre = PickingCentre(app, entry);
    if (!WithinPickRadius(p, centre)) continue;
    picked.code = colourBit(side) | index;
    picked.square = entry;
    picked.grabOffsetX = static_cast<int32_t>(centre.x - p.x);
    picked.grabOffsetY = static_cast<int32_t>(p.y - centre.y);
    return true;
  }
  return false;
}

// The pointer plus the grab offset, so the drop lands where the piece is drawn.
ScenePoint DraggedPieceCentre(const GameApplication& app, ScenePoint p) {
  return {p.x + app.draggedPiece.grabOffsetX, p.y - app.draggedPiece.grabOffsetY};
}

}  // namespace rq
