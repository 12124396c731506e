// Key H: the player's best move, found by the computer's own search, shown in two stages.
#pragma once

namespace rq {

struct GameApplication;

// First press: the piece to move; second: the whole move. Only on the user's turn of a
// game that goes on, with no piece in the hand.
void HintCommand(GameApplication& app);

// Once per frame: takes the worker's answer to the pending hint.
void UpdateHint(GameApplication& app);

// Forgets the hint and gives up its search; safe with the game lock held.
void DropHint(GameApplication& app);

// Whether the hint changes the picture by itself (its ring pulses, or the crystal ball
// fills for it), so that a loop that waits for events must keep drawing.
bool HintAnimating(const GameApplication& app);

}  // namespace rq
