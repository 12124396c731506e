// Saving and loading the game in progress: "CurrentGame_<name>.vrd5".
#pragma once

#include <string>

namespace rq {

struct GameApplication;

// Writes the file whole or not at all (false when the old file stands). When it is not
// the user's turn it first stops the computer's search and waits for it, so the caller
// must not hold the game lock while the computer is thinking.
bool SaveCurrentGame(GameApplication& app);

// The same; `record` receives the file's bytes whether or not they could be written.
bool SaveCurrentGame(GameApplication& app, std::string& record);

// Reads the saved game into the application and the engine under the game lock. A file
// that is damaged in any way, or that exists but cannot be read, is renamed aside and
// refused whole; false then, as for a missing file, and nothing is changed. Where it
// cannot be renamed aside, no later save in this run replaces it.
bool LoadCurrentGame(GameApplication& app);

struct GameFileData;
// Puts a checked game on the board: the engine, the turn and sides, the drawn board and
// the taken pieces. The game lock is held.
void PutGameOnBoard(GameApplication& app, const GameFileData& data);

}  // namespace rq
