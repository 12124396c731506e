// A random game player for tests that need long or full histories.
#pragma once

#include <algorithm>
#include <random>
#include <vector>

#include "rules/game_record.h"

namespace rq::test {

// Random permitted moves, red first, never taking a general nor drawing; false when a
// side is left without one. Seed 11 lasts well over 1000 plies.
inline bool PlayRandomGame(GameRecord& record, int plies, uint32_t seed) {
  std::mt19937 random(seed);
  for (int ply = 0; ply < plies; ++ply) {
    const int side = ply % 2 == 0 ? Red : Green;
    std::vector<Move> moves;
    for (int index = 1; index <= PiecesPerSide; ++index) {
      for (int family = 0; family < 2 && record.onBoard(side, index); ++family) {
        if (family == 0) record.generateCaptures(side, index, 0);
        else record.generateQuietMoves(side, index, 0);
        const MoveSlot& slot = record.moveSlots[0];
        for (int i = 0; i < slot.count(); ++i)
          if ((record.position.squares[slot.cells[i].to] & IndexMask) != GeneralIndex) moves.push_back(slot.cells[i]);
      }
    }
    std::shuffle(moves.begin(), moves.end(), random);
    auto permitted = std::find_if(moves.begin(), moves.end(), [&](Move m) {
      int32_t reason = 0, detail = 0;
      return record.validateMove(m, reason, detail);
    });
    if (permitted == moves.end()) return false;
    record.makeMove(side, *permitted);
    record.recordMove(*permitted);
  }
  return true;
}

}  // namespace rq::test
