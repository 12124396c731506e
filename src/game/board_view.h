// Where the board's points lie in the scene: with red at the bottom, or turned half round
// so that green is. The one mapping that the drawing and the picking share.
#pragma once

#include <cstdint>

#include "rules/types.h"

namespace rq {

struct GameApplication;

constexpr int32_t PointSpacing = 90;  // scene units between neighbouring points

// A place in scene units, y upward from the bottom edge.
struct Point {
  double x;
  double y;
};

// The square whose place in the picture `square` takes: itself with red at the bottom,
// else the square half a turn round the board's centre. Its own inverse.
constexpr int ShownSquare(bool turned, int square) { return turned ? BoardSquares - 1 - square : square; }

// Centre of the point of `square` as the board lies now: the place of the square shown
// there, (boardOriginX + 90 * column, boardOriginY - 90 * row).
Point PointCentre(const GameApplication& app, int square);

}  // namespace rq
