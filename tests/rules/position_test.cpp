#include <gtest/gtest.h>

#include <random>

#include "support/record_helpers.h"

namespace rq {
namespace {

TEST(Position, StartPositionAndPieceLists) {
  GameRecord r;
  const uint8_t red[17] = {0, 54, 56, 58, 60, 62, 81, 89, 82, 88, 64, 70, 84, 86, 83, 87, 85};
  const uint8_t green[17] = {0, 27, 29, 31, 33, 35, 0, 8, 1, 7, 19, 25, 3, 5, 2, 6, 4};
  EXPECT_EQ(0, std::memcmp(r.pieceSquare[Red], red, 17));
  EXPECT_EQ(0, std::memcmp(r.pieceSquare[Green], green, 17));
  EXPECT_EQ(r.staticScore(Red), 0);
  r.position.squares[64] = 0;  // a piece missing from the board counts as taken
  r.rebuildPieceLists();
  EXPECT_EQ(r.pieceSquare[Red][10], CapturedMark);
  EXPECT_EQ(r.pieceSquare[Red][11], 70);
}

// boardValue is green minus red, so a green piece taken lowers it.
TEST(Position, SumsFollowTheTables) {
  struct Row { const char* fen; const char* move; int32_t value, extra; bool tookGeneral; };
  const Row rows[] = {
      {StartFen, "b2b9", -270, 0, false},  // cannon takes horse
      {StartFen, "e6e5", 0, 4, false},
      {"4k4/9/9/9/9/9/9/9/4R4/3K5 w - - 0 1", "e1e9", -6000, -8, true},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    const test::Snapshot before(*r);
    Move m = test::MoveOf(row.move);
    const int side = sideOfCode(r->position.squares[m.from]);
    EXPECT_EQ(r->makeMove(side, m), row.tookGeneral) << row.move;
    EXPECT_EQ(r->position.boardValue - before.position.boardValue, row.value) << row.move;
    EXPECT_EQ(r->position.boardExtraValue - before.position.boardExtraValue, row.extra) << row.move;
    if (row.tookGeneral) { EXPECT_EQ(r->pieceSquare[1 - side][GeneralIndex], CapturedMark | m.to); }
    r->unmakeMove(side, m);
    EXPECT_TRUE(test::Snapshot(*r) == before) << row.move;
  }
}

// Random games: every make/unmake pair and every judgement gives everything back, the
// running sums equal sums computed afresh, the fast attack test agrees with the one that
// generates captures, and undo to the start and redo to the end retrace the game.
TEST(Position, RandomGamesKeepEveryInvariant) {
  auto r = std::make_unique<GameRecord>();
  int plies = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    r->newGame();
    for (int ply = 0, side = Red; ply < 250; ++ply, side = 1 - side) {
      Move moves[128], permitted[128];
      const int count = test::GeneratedMoves(*r, side, moves, 128);
      int n = 0;
      const test::Snapshot before(*r);
      for (int i = 0; i < count; ++i) {
        Move m = moves[i];
        r->makeMove(side, m);
        int32_t value, extra;
        test::FreshSums(*r, value, extra);
        ASSERT_EQ(value, r->position.boardValue);
        ASSERT_EQ(extra, r->position.boardExtraValue);
        ASSERT_EQ(r->isGeneralAttackedFast(Red), r->isRedGeneralAttacked());
        ASSERT_EQ(r->isGeneralAttackedFast(Green), r->isGreenGeneralAttacked());
        r->unmakeMove(side, m);
        ASSERT_TRUE(test::Snapshot(*r) == before) << "seed " << seed << " ply " << ply;
        int32_t reason = 0, detail = 0;
        if (r->validateMove(m, reason, detail) || reason == ReasonRepetition) permitted[n++] = m;
        ASSERT_TRUE(test::Snapshot(*r) == before);
      }
      if (n == 0) break;
      Move m = permitted[rng() % n];
      const bool tookGeneral = r->makeMove(side, m);
      r->recordMove(m);
      ++plies;
      if (tookGeneral) break;
    }
    const test::Snapshot end(*r);
    Move m;
    while (r->undoMove(m)) {}
    GameRecord fresh;
    test::Snapshot undone(*r);
    undone.recordedMoves = 0;
    EXPECT_TRUE(undone == test::Snapshot(fresh)) << "seed " << seed;
    while (r->redoMove(m)) {}
    EXPECT_TRUE(test::Snapshot(*r) == end) << "seed " << seed;
  }
  EXPECT_GT(plies, 4000);
}

}  // namespace
}  // namespace rq
