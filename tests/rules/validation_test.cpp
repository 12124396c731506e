#include <gtest/gtest.h>

#include "support/record_helpers.h"

namespace rq {
namespace {

// The judgement of one move; the record must come back as it was.
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

// Moves judged with an empty history, and whether red then has a permitted move.
TEST(Validation, FacingGeneralsAndMovesIntoCheck) {
  struct Row { const char* fen; const char* move; int32_t reason; bool redHasMove; };
  const Row rows[] = {
      {"4k4/9/9/9/4R4/9/9/9/9/4K4 w - - 0 1", "e5d5", ReasonFacingGenerals, true},
      {"4k4/9/9/9/4R4/9/9/9/9/4K4 w - - 0 1", "e5e2", ReasonNone, true},
      {"4k4/9/9/9/4R4/9/9/9/9/4K4 w - - 0 1", "e5e9", ReasonNone, true},  // takes the general
      {"4k4/9/9/9/9/9/9/4r4/4N4/4K4 w - - 0 1", "e1c2", ReasonNone, true},  // a pinned horse steps aside
      // The general's only move would face the other; the horse's legs are blocked.
      {"3k5/9/9/9/9/9/9/9/4p4/3KNp3 w - - 0 1", "d0d1", ReasonFacingGenerals, false},
      {"4k4/9/9/9/9/9/9/9/4p4/3KNp3 w - - 0 1", "d0d1", ReasonNone, true},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    EXPECT_EQ(Judge(*r, row.move), row.reason) << row.fen << " " << row.move;
    EXPECT_EQ(r->redHasMove(), row.redHasMove) << row.fen;
  }
}

// A four-ply cycle played four times: the move that would start the fifth is judged,
// and nothing before it counts as a repetition.
TEST(Validation, FourthCycleIsCheckChaseOrDraw) {
  struct Row {
    const char* what;
    const char* fen;
    const char* moves[4];
    int32_t reason, detail;
    bool redHasMove;  // when the cycle's red move is red's only one
  };
  const Row rows[] = {
      {"quiet shuffle", "3k5/8r/9/9/9/9/9/9/R8/4K4 w - - 0 1", {"a1a2", "i8i7", "a2a1", "i7i8"}, ReasonRepetition, 0, true},
      {"perpetual check", "4k4/R8/9/9/9/9/9/9/9/3K5 w - - 0 1", {"a8a9", "e9e8", "a9a8", "e8e9"}, ReasonPerpetualCheck, 0, true},
      {"perpetual chase", "4k4/9/9/9/9/1n7/9/9/R8/3K5 w - - 0 1", {"a1a4", "b4c2", "a4a1", "c2b4"}, ReasonPerpetualChase, 0x28, true},
      {"chased piece protected", "1r2k4/9/9/9/9/1n7/9/9/R8/3K5 w - - 0 1", {"a1a4", "b4c2", "a4a1", "c2b4"}, ReasonRepetition, 0, true},
      {"chased piece on its own half", "4k4/1n7/9/R8/9/9/9/9/9/3K5 w - - 0 1", {"a6a8", "b8c6", "a8a6", "c6b8"}, ReasonRepetition, 0, true},
      {"green gives the check", "3k5/9/9/9/9/9/9/9/r8/4K4 b - - 0 1", {"a1a0", "e0e1", "a0a1", "e1e0"}, ReasonPerpetualCheck, 0, true},
      {"check and chase at once", "4k3r/9/9/9/9/9/1n7/4R4/9/3K5 w - - 0 1", {"e2e3", "i9i8", "e3e2", "i8i9"}, ReasonPerpetualCheck, 0, true},
      {"red's only move draws", "3k5/9/9/9/3rr4/9/9/9/4p4/3KNp3 w - - 0 1", {"d0d1", "d9d8", "d1d0", "d8d9"}, ReasonRepetition, 0, true},
      {"red's only move chases", "3k5/9/9/9/3r5/9/9/9/4p4/3KNp3 w - - 0 1", {"d0d1", "d9d8", "d1d0", "d8d9"}, ReasonPerpetualChase, 0x21, false},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    for (int ply = 0; ply < 16; ++ply) {
      ASSERT_EQ(Judge(*r, row.moves[ply % 4]), ReasonNone) << row.what << " ply " << ply;
      ASSERT_TRUE(test::Play(*r, row.moves[ply % 4]));
    }
    int32_t detail = 0;
    EXPECT_EQ(Judge(*r, row.moves[0], &detail), row.reason) << row.what;
    if (row.reason == ReasonPerpetualChase) { EXPECT_EQ(detail, row.detail) << row.what; }
    EXPECT_EQ(r->redHasMove(), row.redHasMove) << row.what;
  }
}

// Games past the full history: both chariots touring five squares never repeat; a
// four-ply shuffle repeats at its sixteenth ply. Every other move must be legal, and
// undo stays refused once a move went unrecorded.
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
    Move m;
    EXPECT_FALSE(r->undoMove(m) || r->redoMove(m)) << row.tour;
    EXPECT_EQ(r->moveCount, HistoryCapacity);
    r->newGame();
    EXPECT_TRUE(test::Play(*r, "a0a1") && r->canUndo()) << row.tour;
  }
}

}  // namespace
}  // namespace rq
