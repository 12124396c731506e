// Counting the leaves of the move tree, the first test of move generation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rules/game_record.h"

namespace rq {

enum class PerftRules {
  Game,      // this game's rules: validateMove permits the move or judges it a repetition draw
  Standard,  // common rules: the mover's general is not left attacked, generals do not face
};

struct PerftDivision {
  std::string move;
  uint64_t nodes;
};

// Leaves at `depth` plies below the position, `side` to move.
uint64_t Perft(GameRecord& record, int side, int depth, PerftRules rules);

// The same, split by root move and sorted by move text.
std::vector<PerftDivision> PerftDivide(GameRecord& record, int side, int depth, PerftRules rules);

}  // namespace rq
