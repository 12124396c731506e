// Whether a position could arise in a game, beyond what FEN reading itself refuses.
#pragma once

#include <string>

#include "rules/game_record.h"
#include "rules/position_fault.h"

namespace rq {

// The first fault of the record's position with `sideToMove` to move: generals facing on an
// open file, or the side not to move in check (its general could be taken at once). Piece
// counts and the points a piece can reach are LoadFen's. False with the fault.
bool CheckPosition(const GameRecord& record, int sideToMove, PositionFault& fault);

// LoadFen, then CheckPosition; on a fault the record may hold the refused position.
bool LoadCheckedFen(GameRecord& record, const std::string& fen, int& sideToMove, PositionFault& fault);
// The same, with the fault in English words.
bool LoadCheckedFen(GameRecord& record, const std::string& fen, int& sideToMove, std::string& error);

}  // namespace rq
