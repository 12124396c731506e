// Where the pointer is on the board: scene units, points, and the player's piece under it.
#pragma once

#include <cstdint>

#include "game/board_view.h"

namespace rq {

struct GameApplication;

constexpr double PickRadius = 36.0;
constexpr int32_t SceneSize = 1024;

// A pointer position in scene units, y counted downward from the top edge.
struct ScenePoint {
  double x = 0.0;
  double y = 0.0;
};

// The player's piece under the pointer and where the pointer holds it.
struct PickedPiece {
  int32_t code = -1;      // the player's colour bit | piece number
  int32_t square = -1;
  int32_t grabOffsetX = 0;  // centre x - pointer x, scene units, truncated toward zero
  int32_t grabOffsetY = 0;  // pointer y - centre y, scene units, truncated toward zero
};

// Client pixels to scene units; a scale that is not positive counts as 1.
ScenePoint PointerToScene(const GameApplication& app, int32_t x, int32_t y);

// Centre of a board square in the picking frame: its point (board_view.h) with y counted
// downward, as the pointer counts it.
ScenePoint PickingCentre(const GameApplication& app, int square);

// The square whose centre lies within the pick radius of `p`, or -1.
int SquareAtPoint(const GameApplication& app, ScenePoint p);

// The first of the player's pieces (1..16, taken ones skipped) within the pick radius;
// caller holds the lock.
bool PieceAtPoint(const GameApplication& app, ScenePoint p, PickedPiece& picked);

// Where the dragged piece's centre is drawn for the pointer at `p`.
ScenePoint DraggedPieceCentre(const GameApplication& app, ScenePoint p);

}  // namespace rq
