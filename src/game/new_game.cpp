#include "game/new_game.h"

#include <algorithm>
#include <string>

#include "game/archive.h"
#include "game/current_game.h"
#include "game/game_application.h"
#include "game/game_file.h"
#include "game/game_texts.h"
#include "platform/language.h"
#include "platform/texts.h"
#include "player/guarded_game.h"

namespace rq {

namespace {

// Writes the game being left into its archive: the file just saved, or, when the save
// failed (the file may then hold an older game, which must not be archived again), the
// record formatted for it. False when neither reached the archive; `saveError` tells why
// the save failed, 0 when it did not.
bool archiveGame(GameApplication& app, std::string& archive, int& saveError) {
  std::string record;
  const bool saved = SaveCurrentGame(app, record, saveError);
  if (saved) saveError = 0;
  archive = ArchiveFileName(app.gameNumber, app.computerName);
  if (saved && AppendFileToArchive(archive, CurrentGameFileName(app.computerName))) return true;
  return AppendRecordToArchive(archive, record);
}

// Tells the player a message of the new-game command.
void tell(GameApplication& app, const std::string& text) {
  app.platform->ShowMessage(_(NewGameTitle), text.c_str(), MessageButtons::Ok, MessageIcon::Exclamation);
}

// Leaves the game in progress for the opening, or for `loaded` when given.
bool StartGameFrom(GameApplication& app, const GameFileData* loaded) {
  std::string archive;
  int saveError = 0;
  const std::string fileName = CurrentGameFileName(app.computerName);
  if (!archiveGame(app, archive, saveError)) {
    tell(app, FormatText(_(GameNotLeftText), fileName.c_str(), archive.c_str()));
    return false;
  }
  // The game left is in the archive, but its file still holds it or an earlier state of it.
  if (saveError != 0)
    tell(app, FormatText(_(FolderNotWritableText), archive.c_str(), PathInFolder(fileName).c_str(),
                         WriteProblemText(saveError).c_str()));
  app.gameDrawn = false;
  app.eatenRedCount = 0;
  app.eatenGreenCount = 0;
  app.gameNumber = NumberAfter(std::max(app.gameNumber, app.highestEarlierNumber));
  app.computerMoveReady = false;
  app.computerMoveAnimating = false;
  app.lastMove.status = NoLastMove;
  app.hint = HintDisplay{};
  app.draggedPiece.code = -1;
  app.candidatesShown = false;
  app.hoveredPiece = -1;
  GameLockGuard hold(app.game);
  app.game.resetForNewGame(loaded ? loaded->playerSide : NextGameSide(app));
  if (loaded) {
    PutGameOnBoard(app, *loaded);
    HighlightLastPlayedMove(app);
  }
  FaceThePlayer(app);
  app.savedBoard = app.game.record.position;
  PublishMoveRecord(app);
  // The computer playing red opens the game.
  if (!app.game.usersTurn && !app.game.gameEnded) RequestComputerMove(app.game);
  return true;
}

}  // namespace

bool StartNewGame(GameApplication& app) { return StartGameFrom(app, nullptr); }

bool StartGameFrom(GameApplication& app, const GameFileData& game) { return StartGameFrom(app, &game); }

}  // namespace rq
