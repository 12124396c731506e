#include "rules/perft.h"

#include <algorithm>

#include "rules/notation.h"

namespace rq {
namespace {

// Calls visit(move, tookGeneral) with every counted move of `side`, made on the board;
// the move is taken back after the visit. Uses slot `ply` for generation.
template <typename Visit>
void forEachCountedMove(GameRecord& r, int side, int ply, PerftRules rules, Visit&& visit) {
  for (int index = 1; index <= PiecesPerSide; ++index) {
    if (!r.onBoard(side, index)) continue;
    for (int family = 0; family < 2; ++family) {
      if (family == 0) r.generateCaptures(side, index, ply);
      else r.generateQuietMoves(side, index, ply);
      const MoveSlot& slot = r.moveSlots[ply];
      const int count = slot.count();
      for (int i = 0; i < count; ++i) {
        Move m = slot.cells[i];
        if (rules == PerftRules::Game) {
          int32_t reason = 0, detail = 0;
          if (!r.validateMove(m, reason, detail) && reason != ReasonRepetition) continue;
          const bool tookGeneral = r.makeMove(side, m);
          visit(m, tookGeneral);
          r.unmakeMove(side, m);
        } else {
          const bool tookGeneral = r.makeMove(side, m);
          if (!r.generalsFacing() && !r.isGeneralAttackedFast(side)) visit(m, tookGeneral);
          r.unmakeMove(side, m);
        }
      }
    }
  }
}

uint64_t perftNode(GameRecord& r, int side, int depth, int ply, PerftRules rules) {
  uint64_t nodes = 0;
  if (depth == 1) {
    forEachCountedMove(r, side, ply, rules, [&](const Move&, bool) { ++nodes; });
    return nodes;
  }
  forEachCountedMove(r, side, ply, rules, [&](const Move&, bool tookGeneral) {
    nodes += tookGeneral ? 1 : perftNode(r, 1 - side, depth - 1, ply + 1, rules);
  });
  return nodes;
}

}  // namespace

uint64_t Perft(GameRecord& record, int side, int depth, PerftRules rules) {
  if (depth <= 0) return 1;
  if (depth >= SlotHasMove) return 0;
  return perftNode(record, side, depth, 0, rules);
}

std::vector<PerftDivision> PerftDivide(GameRecord& record, int side, int depth, PerftRules rules) {
  std::vector<PerftDivision> result;
  if (depth <= 0 || depth >= SlotHasMove) return result;
  forEachCountedMove(record, side, 0, rules, [&](const Move& m, bool tookGeneral) {
    uint64_t nodes = (depth == 1 || tookGeneral) ? 1 : perftNode(record, 1 - side, depth - 1, 1, rules);
    result.push_back({FormatMove(m), nodes});
  });
  std::sort(result.begin(), result.end(),
            [](const PerftDivision& a, const PerftDivision& b) { return a.move < b.move; });
  return result;
}

}  // namespace rq
