#include <gtest/gtest.h>

#include "rules/perft.h"
#include "support/record_helpers.h"

namespace rq {
namespace {

struct PerftRow {
  const char* fen;
  int depth;
  uint64_t nodes;
};

// Published figures of the common rules.
const PerftRow StandardRows[] = {
    {StartFen, 1, 44},
    {StartFen, 2, 1920},
    {StartFen, 3, 79666},
    {StartFen, 4, 3290240},
    {"r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1", 1, 38},
    {"r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1", 2, 1128},
    {"r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1", 3, 43929},
    {"r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1", 4, 1339047},
    {"1cbak4/9/n2a5/2p1p3p/5cp2/2n2N3/6PCP/3AB4/2C6/3A1K1N1 w - - 0 1", 3, 8620},
    {"1cbak4/9/n2a5/2p1p3p/5cp2/2n2N3/6PCP/3AB4/2C6/3A1K1N1 w - - 0 1", 4, 326201},
    {"5a3/3k5/3aR4/9/5r3/5n3/9/3A1A3/5K3/2BC2B2 w - - 0 1", 4, 202884},
    {"CRN1k1b2/3ca4/4ba3/9/2nr5/9/9/4B4/4A4/4KA3 w - - 0 1", 4, 395483},
    {"R1N1k1b2/9/3aba3/9/2nr5/2B6/9/4B4/4A4/4KA3 w - - 0 1", 4, 162837},
};

TEST(Perft, StandardRulesMatchPublishedCounts) {
  for (const PerftRow& row : StandardRows) {
    int side = Red;
    auto r = test::RecordFromFen(row.fen, &side);
    EXPECT_EQ(Perft(*r, side, row.depth, PerftRules::Standard), row.nodes) << row.fen << " depth " << row.depth;
  }
}

// Counts the tree by brute force: `counts` judges each made move; with
// `generalEndsLine` a move that took a general is a leaf.
template <typename Counts>
uint64_t CountTree(GameRecord& r, int side, int depth, int ply, bool generalEndsLine, Counts counts) {
  uint64_t nodes = 0;
  for (int index = 1; index <= PiecesPerSide; ++index) {
    if (!r.onBoard(side, index)) continue;
    for (int family = 0; family < 2; ++family) {
      if (family == 0) r.generateCaptures(side, index, ply);
      else r.generateQuietMoves(side, index, ply);
      const int count = r.moveSlots[ply].count();
      for (int i = 0; i < count; ++i) {
        Move m = r.moveSlots[ply].cells[i];
        const bool tookGeneral = r.makeMove(side, m);
        if (counts(r, side)) {
          const bool leaf = depth == 1 || (generalEndsLine && tookGeneral);
          nodes += leaf ? 1 : CountTree(r, 1 - side, depth - 1, ply + 1, generalEndsLine, counts);
        }
        r.unmakeMove(side, m);
      }
    }
  }
  return nodes;
}

// The standard count with the slow general-attacked tests that generate every capture.
uint64_t ReferencePerft(GameRecord& r, int side, int depth) {
  return CountTree(r, side, depth, 0, false, [](GameRecord& g, int mover) {
    const bool attacked = mover == Red ? g.isRedGeneralAttacked() : g.isGreenGeneralAttacked();
    return !g.generalsFacing() && !attacked;
  });
}

// With an empty history no repetition can arise: the game's count is every generated
// move that does not leave the generals facing, a general capture ending its line.
uint64_t ReferenceGamePerft(GameRecord& r, int side, int depth) {
  return CountTree(r, side, depth, 0, true, [](GameRecord& g, int) { return !g.generalsFacing(); });
}

// Positions for the special rules; the fast attack test must agree with the slow one.
const PerftRow SpecialRows[] = {
    {"4k4/9/9/9/9/9/9/9/4R4/4K4 w - - 0 1", 1, 10},                          // chariot pinned by facing generals
    {"3k5/9/9/9/4c4/9/4C4/9/4A4/4K4 b - - 0 1", 3, 0},                       // cannon screens on one file
    {"4k4/9/4b4/9/2n6/2P6/9/2N1B4/2C6/3K5 w - - 0 1", 3, 0},                 // horse legs and elephant eyes
    {"3k5/9/9/2P1P1P2/P7P/9/9/9/9/4K4 w - - 0 1", 3, 0},                     // soldiers across the river
    {"C1nNk4/9/9/9/9/9/n1pp5/B3C4/9/3A1K3 w - - 0 1", 4, 64971},             // sparse ending
    {"4ka3/4a4/9/9/4N4/p8/9/4C3c/7n1/2BK5 w - - 0 1", 4, 149272},
    {"2b1ka3/9/b3N4/4n4/9/9/9/4C4/2p6/2BK5 w - - 0 1", 4, 48060},
};

TEST(Perft, FastAttackTestAgreesWithGeneratedCaptures) {
  for (const PerftRow& row : SpecialRows) {
    int side = Red;
    auto r = test::RecordFromFen(row.fen, &side);
    const int depth = row.depth;
    const uint64_t reference = ReferencePerft(*r, side, depth);
    EXPECT_EQ(Perft(*r, side, depth, PerftRules::Standard), reference) << row.fen;
    if (row.nodes != 0) {
      EXPECT_EQ(reference, row.nodes) << row.fen;
    }
  }
}

TEST(Perft, GameRulesCountFacingGeneralsAndGeneralCaptures) {
  struct Row { const char* fen; int depth; uint64_t nodes; };
  const Row rows[] = {
      // Chariot may only move along the file (7 quiet + taking the general), general 2.
      {"4k4/9/9/9/9/9/9/9/4R4/4K4 w - - 0 1", 1, 10},
      // Taking the general is a leaf: the rest of the tree goes on below the other moves.
      {"4k4/9/9/9/9/9/9/9/4R4/4K4 w - - 0 1", 2, 1 + 2 + 6 * 3 + 2 * 2},
  };
  for (const Row& row : rows) {
    int side = Red;
    auto r = test::RecordFromFen(row.fen, &side);
    EXPECT_EQ(Perft(*r, side, row.depth, PerftRules::Game), row.nodes) << row.fen << " depth " << row.depth;
  }
}

TEST(Perft, GameRulesAgreeWithFacingOnlyCountWithoutHistory) {
  const char* fens[] = {StartFen, "4k4/9/9/9/9/9/9/4r4/4N4/4K4 w - - 0 1",
                        "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1"};
  for (const char* fen : fens) {
    int side = Red;
    auto r = test::RecordFromFen(fen, &side);
    EXPECT_EQ(Perft(*r, side, 3, PerftRules::Game), ReferenceGamePerft(*r, side, 3)) << fen;
  }
}

TEST(Perft, DivideSumsToTotalInMoveOrder) {
  auto r = test::RecordFromFen(StartFen);
  auto divisions = PerftDivide(*r, Red, 2, PerftRules::Standard);
  ASSERT_EQ(divisions.size(), 44u);
  uint64_t sum = 0;
  for (size_t i = 0; i < divisions.size(); ++i) {
    sum += divisions[i].nodes;
    if (i > 0) {
      EXPECT_LT(divisions[i - 1].move, divisions[i].move);
    }
  }
  EXPECT_EQ(sum, 1920u);
}

}  // namespace
}  // namespace rq
