// Leaving a game for a new one.
#pragma once

namespace rq {

struct GameApplication;

// Saves and archives the game being left, then resets everything to the next game
// number. Only on the user's turn or after the game has ended; the caller may hold the
// game lock.
void StartNewGame(GameApplication& app);

}  // namespace rq
