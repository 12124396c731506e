#include <gtest/gtest.h>

#include "rules/perft.h"
#include "support/record_helpers.h"

namespace rq {
namespace {

// Published counts of the common rules, and the counts of the game's own rules, where
// only facing generals are refused and taking a general ends the line.
TEST(Perft, CountsUnderBothRules) {
  constexpr PerftRules Standard = PerftRules::Standard, Game = PerftRules::Game;
  const char* const Middle = "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1";
  const char* const Pinned = "4k4/9/9/9/9/9/9/9/4R4/4K4 w - - 0 1";
  struct Row { const char* fen; int depth; PerftRules rules; uint64_t nodes; };
  const Row rows[] = {
      {StartFen, 1, Standard, 44},
      {StartFen, 2, Standard, 1920},
      {StartFen, 3, Standard, 79666},
      {StartFen, 4, Standard, 3290240},
      {Middle, 1, Standard, 38},
      {Middle, 2, Standard, 1128},
      {Middle, 3, Standard, 43929},
      {Middle, 4, Standard, 1339047},
      {"1cbak4/9/n2a5/2p1p3p/5cp2/2n2N3/6PCP/3AB4/2C6/3A1K1N1 w - - 0 1", 4, Standard, 326201},
      {"5a3/3k5/3aR4/9/5r3/5n3/9/3A1A3/5K3/2BC2B2 w - - 0 1", 4, Standard, 202884},
      {"CRN1k1b2/3ca4/4ba3/9/2nr5/9/9/4B4/4A4/4KA3 w - - 0 1", 4, Standard, 395483},
      {"R1N1k1b2/9/3aba3/9/2nr5/2B6/9/4B4/4A4/4KA3 w - - 0 1", 4, Standard, 162837},
      {"C1nNk4/9/9/9/9/9/n1pp5/B3C4/9/3A1K3 w - - 0 1", 4, Standard, 64971},
      {"4ka3/4a4/9/9/4N4/p8/9/4C3c/7n1/2BK5 w - - 0 1", 4, Standard, 149272},
      // The chariot only along the file, 7 + taking the general; the capture is a leaf.
      {Pinned, 1, Game, 10},
      {Pinned, 2, Game, 1 + 2 + 6 * 3 + 2 * 2},
      {"4k4/9/9/9/9/9/9/4r4/4N4/4K4 w - - 0 1", 3, Game, 604},
      {StartFen, 3, Game, 80288},
      {Middle, 3, Game, 56978},
  };
  for (const Row& row : rows) {
    int side = Red;
    auto r = test::RecordFromFen(row.fen, &side);
    EXPECT_EQ(Perft(*r, side, row.depth, row.rules), row.nodes) << row.fen << " depth " << row.depth;
  }
}

}  // namespace
}  // namespace rq
