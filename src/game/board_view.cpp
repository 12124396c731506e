#include "game/board_view.h"

#include "game/game_application.h"

namespace rq {

Point PointCentre(const GameApplication& app, int square) {
  const int shown = ShownSquare(app.boardTurned, square);
  return {static_cast<double>(app.boardOriginX + PointSpacing * columnOf(shown)),
          static_cast<double>(app.boardOriginY - PointSpacing * rowOf(shown))};
}

}  // namespace rq
