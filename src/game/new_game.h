// Leaving a game for a new one.
#pragma once

namespace rq {

struct GameApplication;

// Saves and archives the game being left, then resets everything to the next game
// number, above every number found at start-up, with the side the setting gives the player;
// the computer playing red is asked for its first move. A game that could be neither saved
// nor archived is never left: it stays on the board, the player is told why, and the answer
// is false. One archived but not saved is left, and the player told that the folder
// cannot be written. Only on the user's turn or
// after the game has ended; the caller may hold the game lock.
bool StartNewGame(GameApplication& app);

struct GameFileData;
// The same, with the checked `game` put on the board instead of the opening: a game read
// from a file, pasted or set up. The board faces its player; the computer is asked for its
// move when it is its turn.
bool StartGameFrom(GameApplication& app, const GameFileData& game);

}  // namespace rq
