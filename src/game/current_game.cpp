#include "game/current_game.h"

#include <cstring>
#include <memory>

#include "game/game_application.h"
#include "game/game_file.h"
#include "game/game_file_ranges.h"
#include "game/safe_file.h"

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
  data.board = app.savedBoard;
  // A piece held by the pointer is off the drawn board; the file gets it back on its square.
  const DraggedPiece& drag = app.draggedPiece;
  if (IsPieceCode(drag.code) && drag.fromSquare >= 0 && drag.fromSquare < BoardSquares &&
      data.board.squares[drag.fromSquare] == 0 &&
      std::memchr(data.board.squares, drag.code, BoardSquares) == nullptr)
    data.board.squares[drag.fromSquare] = static_cast<uint8_t>(drag.code);
  data.recordedMoves = record.recordedMoves;
  data.moveCount = record.moveCount;
  std::memcpy(data.history, record.history, sizeof data.history);
  data.eatenRedCount = app.eatenRedCount;
  data.eatenGreenCount = app.eatenGreenCount;
  std::memcpy(data.eatenRed, app.eatenRed, sizeof data.eatenRed);
  std::memcpy(data.eatenGreen, app.eatenGreen, sizeof data.eatenGreen);
}

}  // namespace

bool SaveCurrentGame(GameApplication& app) {
  std::string record;
  return SaveCurrentGame(app, record);
}

bool SaveCurrentGame(GameApplication& app, std::string& record) {
  GuardedGame& game = app.game;
  // The computer may be thinking on the record: stop it (and any pending request) first.
  if (!UnderGameLock(game, [&] { return game.usersTurn; })) StopSearch(game);

  auto data = std::make_unique<GameFileData>();
  data->savedAt = FormatSavedAt(app.wallClock ? app.wallClock() : std::time(nullptr));
  GameLockGuard hold(game);
  collectGame(app, *data);
  record = FormatGameFile(*data);
  return !app.currentGameFileKept && ReplaceFileContents(CurrentGameFileName(app.computerName), record);
}

bool LoadCurrentGame(GameApplication& app) {
  GuardedGame& game = app.game;
  const std::string name = CurrentGameFileName(app.computerName);
  GameLockGuard hold(game);
  std::string text;
  const ReadOutcome read = ReadWholeFile(name, MaxGameFileBytes, text);
  bool loaded = false;
  if (read != ReadOutcome::Missing) {
    auto data = std::make_unique<GameFileData>();
    size_t consumed = 0;
    GameFileError error;
    loaded = read == ReadOutcome::Read && ParseGameFile(text.data(), text.size(), consumed, *data, error) &&
             CheckGameFile(*data, error);
    if (loaded) {
      app.gameNumber = data->gameNumber;
      game.gameEnded = data->gameEnded;
      game.usersTurn = data->usersTurn;
      app.savedBoard = data->board;
      LoadIntoRecord(*data, game.record);
      app.eatenRedCount = data->eatenRedCount;
      app.eatenGreenCount = data->eatenGreenCount;
      std::memcpy(app.eatenRed, data->eatenRed, sizeof app.eatenRed);
      std::memcpy(app.eatenGreen, data->eatenGreen, sizeof app.eatenGreen);
    } else if (SetFileAside(name).empty()) {
      // The player's game may still be in there: the fresh game must not go over it.
      app.currentGameFileKept = true;
    }
  }
  return loaded;
}

}  // namespace rq
