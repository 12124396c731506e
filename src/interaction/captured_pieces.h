// The lists of taken pieces that the scene shows beside the board.
#pragma once

#include <cstdint>

#include "rules/types.h"

namespace rq {

struct GameApplication;

// Appends the piece a move took to its side's list; a full list takes no more.
void AddEatenPiece(GameApplication& app, const Move& move);

// Drops the last entry of the list that `captured` belongs to (undo); nothing when empty.
void RemoveEatenPiece(GameApplication& app, uint8_t captured);

}  // namespace rq
