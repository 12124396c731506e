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
  EXPECT_EQ(r.staticScore(Green), 0);
  for (int s = 0; s < 45; ++s) {
    const uint8_t g = r.position.squares[s];
    const uint8_t mirror = r.position.squares[squareOf(columnOf(s), 9 - rowOf(s))];
    EXPECT_EQ(g ? (g & IndexMask) | RedBit : 0, mirror) << s;
  }
}

TEST(Position, RebuildMarksMissingPiecesTaken) {
  GameRecord r;
  r.position.squares[64] = 0;  // red cannon 10
  r.rebuildPieceLists();
  EXPECT_EQ(r.pieceSquare[Red][10], CapturedMark);
  EXPECT_EQ(r.pieceSquare[Red][11], 70);
}

// boardValue is green minus red, so a green piece taken lowers it.
TEST(Position, SumsFollowTheTables) {
  struct Row { const char* what; const char* fen; const char* move; int32_t value, extra; bool tookGeneral; };
  const Row rows[] = {
      {"cannon takes horse", StartFen, "b2b9", -270, 0, false},
      {"green soldier steps forward", StartFen, "e6e5", 0, 4, false},
      {"general taken", "4k4/9/9/9/9/9/9/9/4R4/3K5 w - - 0 1", "e1e9", -6000, -8, true},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    const int32_t value0 = r->position.boardValue, extra0 = r->position.boardExtraValue;
    Move m = test::MoveOf(row.move);
    const int side = sideOfCode(r->position.squares[m.from]);
    EXPECT_EQ(r->makeMove(side, m), row.tookGeneral) << row.what;
    EXPECT_EQ(r->position.boardValue - value0, row.value) << row.what;
    EXPECT_EQ(r->position.boardExtraValue - extra0, row.extra) << row.what;
    r->unmakeMove(side, m);
    EXPECT_EQ(r->position.boardValue, value0);
    EXPECT_EQ(r->position.boardExtraValue, extra0);
  }
}

// Random games over many seeds: every make/unmake pair restores everything, the
// running sums always equal sums computed afresh, and the fast attack test agrees
// with the one that generates captures.
TEST(Position, RandomGamesKeepEveryInvariant) {
  auto r = std::make_unique<GameRecord>();
  int plies = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    r->newGame();
    int side = Red;
    for (int ply = 0; ply < 250; ++ply) {
      Move moves[128];
      int n = 0;
      const test::Snapshot before(*r);
      for (int index = 1; index <= PiecesPerSide; ++index) {
        if (!r->onBoard(side, index)) continue;
        for (int family = 0; family < 2; ++family) {
          if (family == 0) r->generateCaptures(side, index, 0);
          else r->generateQuietMoves(side, index, 0);
          for (int i = 0; i < r->moveSlots[0].count(); ++i) {
            Move m = r->moveSlots[0].cells[i];
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
            if ((r->validateMove(m, reason, detail) || reason == ReasonRepetition) && n < 128) moves[n++] = m;
            ASSERT_TRUE(test::Snapshot(*r) == before);
          }
        }
      }
      if (n == 0) break;
      Move m = moves[rng() % n];
      const bool tookGeneral = r->makeMove(side, m);
      r->recordMove(m);
      ++plies;
      if (tookGeneral) break;
      side = 1 - side;
    }
    // Undo back to the start, then redo to the end: the same positions come back.
    const test::Snapshot end(*r);
    Move m;
    while (r->undoMove(m)) {}
    EXPECT_EQ(r->moveCount, 0);
    GameRecord fresh;
    EXPECT_EQ(0, std::memcmp(fresh.position.squares, r->position.squares, BoardSquares));
    EXPECT_EQ(0, std::memcmp(fresh.pieceSquare, r->pieceSquare, sizeof(fresh.pieceSquare)));
    EXPECT_EQ(r->position.boardValue, 0);
    EXPECT_EQ(r->position.boardExtraValue, 0);
    while (r->redoMove(m)) {}
    EXPECT_TRUE(test::Snapshot(*r) == end) << "seed " << seed;
  }
  EXPECT_GT(plies, 4000);
}

}  // namespace
}  // namespace rq
