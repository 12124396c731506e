// Shared steps of the board interaction, used by the menu commands and the computer's turn.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "rules/types.h"

namespace rq {

struct GameApplication;

// Shows `cursor`, or the arrow when that cursor could not be loaded.
void SetAppCursor(GameApplication& app, CursorHandle cursor);

// Lists and judges every move of the player's piece `index` into the candidate list;
// caller holds the lock.
void BuildCandidates(GameApplication& app, int index);

// Plays a dropped candidate as the user's move and hands the turn on; caller holds the lock.
void PlayUserMove(GameApplication& app, Move move);

}  // namespace rq
