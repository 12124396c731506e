#include <gtest/gtest.h>

#include <vector>

#include "support/record_helpers.h"

namespace rq {
namespace {

int32_t Judge(GameRecord& r, const std::string& text, int32_t* detail = nullptr) {
  Move m = test::MoveOf(text);
  int32_t reason = -1, d = 0;
  const test::Snapshot before(r);
  const bool legal = r.validateMove(m, reason, d);
  EXPECT_TRUE(test::Snapshot(r) == before) << text;
  EXPECT_EQ(legal, reason == ReasonNone) << text;
  if (detail) *detail = d;
  return reason;
}

TEST(Validation, StartPositionHasNoProhibitedMove) {
  GameRecord r;
  for (int side = 0; side < 2; ++side)
    for (int index = 1; index <= PiecesPerSide; ++index)
      for (int family = 0; family < 2; ++family) {
        if (family == 0) r.generateCaptures(side, index, 0);
        else r.generateQuietMoves(side, index, 0);
        for (int i = 0; i < r.moveSlots[0].count(); ++i)
          EXPECT_EQ(Judge(r, FormatMove(r.moveSlots[0].cells[i])), ReasonNone);
      }
}

TEST(Validation, FacingGenerals) {
  struct Row { const char* fen; const char* move; int32_t reason; };
  const Row rows[] = {
      {"4k4/9/9/9/4R4/9/9/9/9/4K4 w - - 0 1", "e5d5", ReasonFacingGenerals},
      {"4k4/9/9/9/4R4/9/9/9/9/4K4 w - - 0 1", "e5i5", ReasonFacingGenerals},
      {"4k4/9/9/9/4R4/9/9/9/9/4K4 w - - 0 1", "e5e2", ReasonNone},
      {"4k4/9/9/9/4R4/9/9/9/9/4K4 w - - 0 1", "e5e9", ReasonNone},  // takes the general: no facing
      {"3k5/9/9/9/9/9/9/9/9/4K4 w - - 0 1", "e0d0", ReasonFacingGenerals},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    EXPECT_EQ(Judge(*r, row.move), row.reason) << row.fen << " " << row.move;
  }
}

TEST(Validation, MovingIntoCheckIsAllowedAndTakingTheGeneralWins) {
  auto r = test::RecordFromFen("4k4/9/9/9/9/9/9/4r4/4N4/4K4 w - - 0 1");
  EXPECT_EQ(Judge(*r, "e1c2"), ReasonNone);  // the pinned horse steps aside
  ASSERT_TRUE(test::Play(*r, "e1c2"));
  EXPECT_TRUE(r->isRedGeneralAttacked());
  EXPECT_EQ(Judge(*r, "e2e0"), ReasonNone);
  Move take = test::MoveOf("e2e0");
  EXPECT_TRUE(r->makeMove(Green, take));
  EXPECT_TRUE(isCaptured(r->pieceSquare[Red][GeneralIndex]));
  EXPECT_EQ(r->pieceSquare[Red][GeneralIndex] & 0x7F, 85);
}

// Shuffles played from a position: each string is one move; the last one is judged.
struct Cycle {
  const char* what;
  const char* fen;
  std::vector<const char*> moves;  // one 4-ply cycle, repeated
  int32_t reason;
  int32_t detail;
};

TEST(Validation, FourthCycleIsCheckChaseOrDraw) {
  const Cycle cycles[] = {
      {"quiet shuffle", "3k5/8r/9/9/9/9/9/9/R8/4K4 w - - 0 1", {"a1a2", "i8i7", "a2a1", "i7i8"}, ReasonRepetition, 0},
      {"perpetual check", "4k4/R8/9/9/9/9/9/9/9/3K5 w - - 0 1", {"a8a9", "e9e8", "a9a8", "e8e9"}, ReasonPerpetualCheck, 0},
      {"perpetual chase", "4k4/9/9/9/9/9/1n7/9/R8/3K5 w - - 0 1", {"a1a3", "b3c1", "a3a1", "c1b3"}, ReasonPerpetualChase, 0x28},
      {"chased piece protected", "1r2k4/9/9/9/9/9/1n7/9/R8/3K5 w - - 0 1", {"a1a3", "b3c1", "a3a1", "c1b3"}, ReasonRepetition, 0},
  };
  for (const Cycle& c : cycles) {
    auto r = test::RecordFromFen(c.fen);
    for (int ply = 0; ply < 16; ++ply) {
      // Before the 16th ply nothing counts as a repetition.
      int32_t reason = Judge(*r, c.moves[ply % 4]);
      EXPECT_EQ(reason, ReasonNone) << c.what << " ply " << ply;
      ASSERT_TRUE(test::Play(*r, c.moves[ply % 4]));
    }
    int32_t detail = 0;
    EXPECT_EQ(Judge(*r, c.moves[0], &detail), c.reason) << c.what;
    if (c.reason == ReasonPerpetualChase) {
      EXPECT_EQ(detail, c.detail) << c.what;
    }
    EXPECT_TRUE(r->redHasMove()) << c.what;
  }
}

TEST(Validation, ChaseOfAPieceOnItsOwnHalfIsAPlainRepetition) {
  auto r = test::RecordFromFen("4k4/1n7/9/R8/9/9/9/9/9/3K5 w - - 0 1");
  const char* moves[4] = {"a6a8", "b8c6", "a8a6", "c6b8"};
  for (int ply = 0; ply < 16; ++ply) ASSERT_TRUE(test::Play(*r, moves[ply % 4]));
  EXPECT_EQ(Judge(*r, moves[0]), ReasonRepetition);
}

TEST(Validation, RepetitionNeedsSixteenPlies) {
  auto r = test::RecordFromFen("3k5/8r/9/9/9/9/9/9/R8/4K4 w - - 0 1");
  const char* moves[4] = {"a1a2", "i8i7", "a2a1", "i7i8"};
  for (int ply = 0; ply < 15; ++ply) ASSERT_TRUE(test::Play(*r, moves[ply % 4]));
  EXPECT_FALSE(r->isRepetition());
}

TEST(Validation, RedWithoutPermittedMoveHasLost) {
  // The red general's only move keeps the generals facing; the horse's legs are blocked.
  auto r = test::RecordFromFen("3k5/9/9/9/9/9/9/9/4p4/3KNp3 w - - 0 1");
  EXPECT_FALSE(r->redHasMove());
  EXPECT_EQ(Judge(*r, "d0d1"), ReasonFacingGenerals);
  auto free = test::RecordFromFen("4k4/9/9/9/9/9/9/9/4p4/3KNp3 w - - 0 1");
  EXPECT_TRUE(free->redHasMove());
}

}  // namespace
}  // namespace rq

namespace rq {
namespace {
// Games past the full history: both chariots touring five squares never repeat; a
// four-ply shuffle repeats at its sixteenth ply. Every other move must be legal.
TEST(Validation, RepetitionPastTheFullHistory) {
  struct Row { int tour, shuffle, tourAfter; int32_t reason; };
  const Row rows[] = {{990, 16, 0, ReasonRepetition}, {1000, 16, 0, ReasonRepetition},
                      {1400, 16, 0, ReasonRepetition}, {984, 14, 200, ReasonNone}};
  const char* squares[2][5] = {{"a0", "a1", "a2", "a3", "a4"}, {"i9", "i8", "i7", "i6", "i5"}};
  for (const Row& row : rows) {
    auto r = test::RecordFromFen("3k4r/9/9/9/9/9/9/9/9/R3K4 w - - 0 1");
    int at[2] = {0, 0}, base[2] = {0, 0}, ply = 0;
    const int phases[3] = {row.tour, row.shuffle, row.tourAfter};
    const int total = row.tour + row.shuffle + row.tourAfter;
    for (int phase = 0; phase < 3; ++phase) {
      base[0] = at[0], base[1] = at[1];
      for (int k = 0; k < phases[phase]; ++k, ++ply) {
        const int s = ply % 2;
        const int to = phase != 1 ? (at[s] + 1) % 5 : at[s] == base[s] ? (base[s] + 1) % 5 : base[s];
        const std::string text = std::string(squares[s][at[s]]) + squares[s][to];
        ASSERT_EQ(Judge(*r, text), ply + 1 == total ? row.reason : ReasonNone) << row.tour << " ply " << ply;
        Move m = test::MoveOf(text);
        r->makeMove(s, m);
        r->recordMove(m);
        at[s] = to;
      }
    }
  }
}
}  // namespace
}  // namespace rq
