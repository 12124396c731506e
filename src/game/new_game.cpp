#include "game/new_game.h"

#include <string>

#include "game/archive.h"
#include "game/current_game.h"
#include "game/game_application.h"
#include "game/game_file.h"
#include "platform/texts.h"

namespace rq {

namespace {

// Writes the game being left into its archive: the file just saved, or, when the save
// failed (the file may then hold an older game, which must not be archived again), the
// record formatted for it. False when neither reached the archive.
bool archiveGame(GameApplication& app, std::string& archive) {
  std::string record;
  const bool saved = SaveCurrentGame(app, record);
  archive = ArchiveFileName(app.gameNumber, app.computerName);
  if (saved && AppendFileToArchive(archive, CurrentGameFileName(app.computerName))) return true;
  return AppendRecordToArchive(archive, record);
}

// Says why the game goes on instead of a new one.
void tellNotLeft(GameApplication& app, const std::string& archive) {
  const std::string text = FormatText(_("This game could not be saved to \"%s\" nor added to \"%s\" in the game's "
                                        "folder, so it goes on. Check the free disk space and the folder's "
                                        "permissions, then try again."),
                                      CurrentGameFileName(app.computerName).c_str(), archive.c_str());
  app.platform->ShowMessage(_("New game"), text.c_str(), MessageButtons::Ok, MessageIcon::Exclamation);
}

}  // namespace

bool StartNewGame(GameApplication& app) {
  std::string archive;
  if (!archiveGame(app, archive)) {
    tellNotLeft(app, archive);
    return false;
  }
  app.gameDrawn = false;
  app.eatenRedCount = 0;
  app.eatenGreenCount = 0;
  if (app.gameNumber < INT32_MAX) ++app.gameNumber;
  app.computerMoveReady = false;
  app.computerMoveAnimating = false;
  app.lastMove.status = NoLastMove;
  app.hint = HintDisplay{};
  app.draggedPiece.code = -1;
  app.candidatesShown = false;
  app.hoveredPiece = -1;
  GameLockGuard hold(app.game);
  app.game.resetForNewGame();
  app.savedBoard = app.game.record.position;
  PublishMoveRecord(app);
  return true;
}

}  // namespace rq
