#include "interaction/open_game.h"

#include <memory>
#include <vector>

#include "game/game_application.h"
#include "game/game_reader.h"
#include "game/new_game.h"
#include "game/safe_file.h"
#include "interaction/computer_turn.h"
#include "interaction/hint.h"
#include "interaction/interaction.h"
#include "platform/language.h"
#include "platform/texts.h"
#include "rules/notation.h"

namespace rq {

namespace {

constexpr const char* OpenTitle = N_("Open a game");
constexpr const char* ThinkingText = N_("Ravenquill is thinking. Open the game again once it has moved.");
// The move where a game's replay stopped, as "12. h2e2" or "12... 马８进７".
constexpr const char* MoveNotPermittedQuestion =
    N_("The move %s is not permitted by the rules, so the game cannot be played on from there.\n\n"
       "Do you want to start from the position before it?");
// A file's path.
constexpr const char* FileNotReadText = N_("\"%s\" could not be read.");
constexpr const char* ClipboardEmptyText = N_("The clipboard holds no text. Copy a FEN or a PGN game, then paste it here.");

// A message box about what could not be opened.
void Tell(GameApplication& app, const std::string& text) {
  app.platform->ShowMessage(_(OpenTitle), text.c_str(), MessageButtons::Ok, MessageIcon::Exclamation);
}

// Whether a game may be left now: on the player's turn or after the end, as for a new game.
bool MayLeaveGame(GameApplication& app) {
  if (UnderGameLock(app.game, [&] { return app.game.usersTurn || app.game.gameEnded; })) return true;
  Tell(app, _(ThinkingText));
  return false;
}

// The game the player picks from the text's games; -1 when none.
int PickGame(GameApplication& app, const std::vector<GameSource>& games) {
  if (games.size() == 1) return 0;
  std::vector<GameListEntry> list;
  for (const GameSource& g : games) list.push_back(GameListEntry{g.red, g.black, g.date, g.result, g.plies});
  const int picked = app.platform->ChooseGame(list);
  return picked >= 0 && picked < static_cast<int>(games.size()) ? picked : -1;
}

}  // namespace

bool OpenGameText(GameApplication& app, const std::string& bytes) {
  std::vector<GameSource> games;
  std::string error;
  if (!ReadGames(bytes, games, error)) {
    Tell(app, error);
    return false;
  }
  const int picked = PickGame(app, games);
  if (picked < 0) return false;
  auto data = std::make_unique<GameFileData>();
  ReplayOutcome outcome;
  const int finishedSide = UnderGameLock(app.game, [&] { return NextGameSide(app); });
  if (!ReplaySource(games[static_cast<size_t>(picked)], finishedSide, *data, outcome)) {
    Tell(app, outcome.error);
    return false;
  }
  if (!outcome.complete) {
    const std::string question = FormatText(_(MoveNotPermittedQuestion), outcome.stoppedText.c_str());
    if (app.platform->ShowMessage(_(OpenTitle), question.c_str(), MessageButtons::YesNo, MessageIcon::Question) !=
        MessageAnswer::Yes)
      return false;
  }
  // A game that has ended, or that has no move yet, loses nothing: no question then.
  if (!UnderGameLock(app.game, [&] { return app.game.gameEnded || app.game.record.recordedMoves == 0; }) &&
      app.platform->ShowMessage(_(NewGameQuestionTitle), _(NewGameQuestion), MessageButtons::YesNo, MessageIcon::Question) !=
          MessageAnswer::Yes)
    return false;
  EndDrag(app);
  DropHint(app);
  data->gameNumber = app.gameNumber;
  if (!StartGameFrom(app, *data)) return false;
  OnPointerMove(app, app.pointerX, app.pointerY);
  return true;
}

// Reads and opens the file, whatever the turn.
static bool OpenFileNow(GameApplication& app, const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, MaxGameTextBytes + 1, bytes) != ReadOutcome::Read) {
    Tell(app, FormatText(_(FileNotReadText), path.c_str()));
    return false;
  }
  return OpenGameText(app, bytes);
}

void OpenGameFile(GameApplication& app, const std::string& path) {
  if (MayLeaveGame(app)) OpenFileNow(app, path);
}

void OpenGameFileAtStart(GameApplication& app, const std::string& path) {
  const bool computerToMove = UnderGameLock(app.game, [&] { return !app.game.usersTurn && !app.game.gameEnded; });
  if (computerToMove) StopSearch(app.game);
  if (!OpenFileNow(app, path) && computerToMove) RequestComputerMove(app.game);
}

void OpenCommand(GameApplication& app) {
  if (!MayLeaveGame(app)) return;
  EndDrag(app);
  std::string path;
  if (app.platform->ChooseGameFile(path)) OpenGameFile(app, path);
}

void PasteCommand(GameApplication& app) {
  if (!MayLeaveGame(app)) return;
  EndDrag(app);
  std::string text;
  if (!app.platform->PasteFromClipboard(text)) {
    Tell(app, _(ClipboardEmptyText));
    return;
  }
  OpenGameText(app, text);
}

void CopyPositionCommand(GameApplication& app) {
  // In the editor, the position being set up.
  if (app.editor.active) {
    app.platform->CopyToClipboard(WriteFen(app.editor.squares, app.editor.sideToMove));
    return;
  }
  const std::string fen = UnderGameLock(app.game, [&] {
    const GameRecord& record = app.game.record;
    const int plies = record.moveCount;
    const int toMove = (record.startSide + plies) % 2;
    return WriteFen(app.savedBoard.squares, toMove, 0, (plies + record.startSide) / 2 + 1);
  });
  app.platform->CopyToClipboard(fen);
}

}  // namespace rq
