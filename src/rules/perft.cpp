#include "rules/perft.h"

#include <algorithm>

#include "rules/notation.h"

namespace rq {
namespace {

// Deeper counts are refused (counted as 0): they would never finish anyway.
constexpr int MaxPerftDepth = 98;

// Calls visit(move, tookGeneral) with every counted move of `side`, made on the board;
// the move is taken back after the visit.
template <typename Visit>
void forEachCountedMove(GameRecord& r, int side, PerftRules rules, Visit&& visit) {
  r.forEachMove(side, [&](Move& m) {
    if (rules == PerftRules::Game) {
      if (!r.permitsMove(m)) return false;
      const bool tookGeneral = r.makeMove(side, m);
      visit(m, tookGeneral);
      r.unmakeMove(side, m);
    } else {
      const bool tookGeneral = r.makeMove(side, m);
      if (!r.generalsFacing() && !r.isGeneralAttackedFast(side)) visit(m, tookGeneral);
      r.unmakeMove(side, m);
    }
    return false;
  });
}

uint64_t perftNode(GameRecord& r, int side, int depth, PerftRules rules) {
  uint64_t nodes = 0;
  if (depth == 1) {
    forEachCountedMove(r, side, rules, [&](const Move&, bool) { ++nodes; });
    return nodes;
  }
  forEachCountedMove(r, side, rules, [&](const Move&, bool tookGeneral) {
    nodes += tookGeneral ? 1 : perftNode(r, 1 - side, depth - 1, rules);
  });
  return nodes;
}

}  // namespace

uint64_t Perft(GameRecord& record, int side, int depth, PerftRules rules) {
  if (depth <= 0) return 1;
  if (depth > MaxPerftDepth) return 0;
  return perftNode(record, side, depth, rules);
}

std::vector<PerftDivision> PerftDivide(GameRecord& record, int side, int depth, PerftRules rules) {
  std::vector<PerftDivision> result;
  if (depth <= 0 || depth > MaxPerftDepth) return result;
  forEachCountedMove(record, side, rules, [&](const Move& m, bool tookGeneral) {
    uint64_t nodes = (depth == 1 || tookGeneral) ? 1 : perftNode(record, 1 - side, depth - 1, rules);
    result.push_back({FormatMove(m), nodes});
  });
  std::sort(result.begin(), result.end(),
            [](const PerftDivision& a, const PerftDivision& b) { return a.move < b.move; });
  return result;
}

}  // namespace rq
