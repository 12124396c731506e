// Saving and loading the game in progress: "CurrentGame_<name>.vrd5".
#pragma once

#include <cstdint>
#include <string>

namespace rq {

struct GameApplication;

// Why a save failed where no system error number tells it: the file in place could not be
// read at start-up, and a save must not go over it.
constexpr int FileKeptUnread = -1;

// Writes the file whole or not at all (false when the old file stands). When it is not
// the user's turn it first stops the computer's search and waits for it, so the caller
// must not hold the game lock while the computer is thinking.
bool SaveCurrentGame(GameApplication& app);

// The same; `record` receives the file's bytes whether or not they could be written, and
// `error` why they could not: a system error number or FileKeptUnread.
bool SaveCurrentGame(GameApplication& app, std::string& record, int& error);

// What start-up found of the games before this one.
struct EarlierGames {
  std::string setAsideAs;  // where a file that could not be loaded was renamed; empty when none was
  bool keptUnread = false;  // a file that could be neither read nor set aside stays where it is
  // The highest game number in the current-game file, a file set aside and the newest
  // archive's last record: a new game takes a higher one.
  int32_t highestNumber = 0;
};

// Reads the saved game into the application and the engine under the game lock. A file
// that is damaged in any way, or that exists but cannot be read, is renamed aside and
// refused whole; false then, as for a missing file, and nothing is changed. Where it
// cannot be renamed aside, no later save in this run replaces it. A game the archive
// already holds (left for a new one, its file not replaced since) is refused too and
// left where it is, for the next save to replace.
bool LoadCurrentGame(GameApplication& app, EarlierGames& earlier);

struct GameFileData;
// Puts a checked game on the board: the engine, the turn and sides, the drawn board and
// the taken pieces. The game lock is held.
void PutGameOnBoard(GameApplication& app, const GameFileData& data);

}  // namespace rq
