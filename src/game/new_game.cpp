#include "game/new_game.h"

#include "game/archive.h"
#include "game/current_game.h"
#include "game/game_application.h"
#include "game/game_file.h"

namespace rq {

void StartNewGame(GameApplication& app) {
  app.gameDrawn = false;
  // A failed save leaves an older game in the file, which must not be archived again.
  if (SaveCurrentGame(app))
    AppendFileToArchive(ArchiveFileName(app.gameNumber, app.computerName), CurrentGameFileName(app.computerName));
  app.eatenRedCount = 0;
  app.eatenGreenCount = 0;
  if (app.gameNumber < INT32_MAX) ++app.gameNumber;
  app.computerMoveReady = false;
  app.computerMoveAnimating = false;
  app.lastMove.status = NoLastMove;
  app.draggedPiece.code = -1;
  app.candidatesShown = false;
  app.hoveredPiece = -1;
  LockGame(app.game);
  app.game.resetForNewGame();
  app.savedBoard = app.game.record.position;
  UnlockGame(app.game);
}

}  // namespace rq
