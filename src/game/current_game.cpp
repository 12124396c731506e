#include "game/current_game.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "game/archive.h"
#include "game/game_application.h"
#include "game/game_file.h"
#include "game/game_file_ranges.h"
#include "game/safe_file.h"
#include "rules/notation.h"

namespace rq {

namespace {

// Far above the largest file the game writes (about 145 kB); only so much is read.
constexpr size_t MaxGameFileBytes = 1u << 20;

// What the file stores, read while the caller holds the game lock.
void collectGame(const GameApplication& app, GameFileData& data) {
  const GameRecord& record = app.game.record;
  data.gameNumber = app.gameNumber;
  data.gameEnded = app.game.gameEnded;
  data.usersTurn = app.game.usersTurn;
  data.playerSide = app.game.playerSide();
  data.resignedSide = app.game.resigned ? data.playerSide : NoSide;
  data.board = app.savedBoard;
  // A piece held by the pointer is off the drawn board; the file gets it back on its square.
  const DraggedPiece& drag = app.draggedPiece;
  if (IsPieceCode(drag.code) && drag.fromSquare >= 0 && drag.fromSquare < BoardSquares &&
      data.board.squares[drag.fromSquare] == 0 &&
      std::memchr(data.board.squares, drag.code, BoardSquares) == nullptr)
    data.board.squares[drag.fromSquare] = static_cast<uint8_t>(drag.code);
  data.startFen = record.startsAtOpening() ? std::string() : WriteFen(record.startSquares, record.startSide);
  data.recordedMoves = record.recordedMoves;
  data.moveCount = record.moveCount;
  std::memcpy(data.history, record.history, sizeof data.history);
  data.eatenRedCount = app.eatenRedCount;
  data.eatenGreenCount = app.eatenGreenCount;
  std::memcpy(data.eatenRed, app.eatenRed, sizeof data.eatenRed);
  std::memcpy(data.eatenGreen, app.eatenGreen, sizeof data.eatenGreen);
}

// Whether the archive already holds the game of this file: its last record has the same
// number and was saved no earlier. Numbers that older releases gave twice (to games
// after a file set aside) differ in that the archived one is older.
bool alreadyArchived(const GameApplication& app, const GameFileData& data) {
  int32_t number = 0;
  std::string savedAt;
  int64_t archived = 0, saved = 0;
  return ReadLastArchivedGame(ArchiveFileName(data.gameNumber, app.computerName), number, savedAt) &&
         number == data.gameNumber && SavedAtOrder(savedAt, archived) && SavedAtOrder(data.savedAt, saved) &&
         archived >= saved;
}

}  // namespace

bool SaveCurrentGame(GameApplication& app) {
  std::string record;
  int error = 0;
  return SaveCurrentGame(app, record, error);
}

bool SaveCurrentGame(GameApplication& app, std::string& record, int& error) {
  GuardedGame& game = app.game;
  // The computer may be thinking on the record: stop it (and any pending request) first.
  if (!UnderGameLock(game, [&] { return game.usersTurn; })) StopSearch(game);

  auto data = std::make_unique<GameFileData>();
  data->savedAt = FormatSavedAt(app.wallClock ? app.wallClock() : std::time(nullptr));
  GameLockGuard hold(game);
  collectGame(app, *data);
  record = FormatGameFile(*data);
  error = FileKeptUnread;
  return !app.currentGameFileKept && ReplaceFileContents(CurrentGameFileName(app.computerName), record, error);
}

void PutGameOnBoard(GameApplication& app, const GameFileData& data) {
  GuardedGame& game = app.game;
  game.gameEnded = data.gameEnded;
  game.usersTurn = data.usersTurn;
  game.computerSide = data.playerSide == Red ? Green : Red;
  game.resigned = data.resignedSide != NoSide;
  app.savedBoard = data.board;
  LoadIntoRecord(data, game.record);
  app.eatenRedCount = data.eatenRedCount;
  app.eatenGreenCount = data.eatenGreenCount;
  std::memcpy(app.eatenRed, data.eatenRed, sizeof app.eatenRed);
  std::memcpy(app.eatenGreen, data.eatenGreen, sizeof app.eatenGreen);
}

bool LoadCurrentGame(GameApplication& app, EarlierGames& earlier) {
  GuardedGame& game = app.game;
  const std::string name = CurrentGameFileName(app.computerName);
  earlier = EarlierGames{};
  earlier.highestNumber = LastArchivedGameNumber(app.computerName);
  GameLockGuard hold(game);
  std::string text;
  const ReadOutcome read = ReadWholeFile(name, MaxGameFileBytes, text);
  bool loaded = false;
  if (read != ReadOutcome::Missing) {
    auto data = std::make_unique<GameFileData>();
    size_t consumed = 0;
    GameFileError error;
    const bool readable = read == ReadOutcome::Read && ParseGameFile(text.data(), text.size(), consumed, *data, error) &&
                          CheckGameFile(*data, error);
    // A damaged file may still tell its number.
    int32_t number = 0;
    std::string savedAt;
    if (ParseGameHeader(text.data(), text.size(), number, savedAt))
      earlier.highestNumber = std::max(earlier.highestNumber, number);
    loaded = readable && !alreadyArchived(app, *data);
    if (loaded) {
      app.gameNumber = data->gameNumber;
      PutGameOnBoard(app, *data);
    } else if (!readable) {
      earlier.setAsideAs = SetFileAside(name);
      // The player's game may still be in there: the fresh game must not go over it.
      earlier.keptUnread = app.currentGameFileKept = earlier.setAsideAs.empty();
    }
  }
  return loaded;
}

}  // namespace rq
