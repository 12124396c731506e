#include <gtest/gtest.h>

#include "support/record_helpers.h"

namespace rq {
namespace {

// FEN gives the new game's lists, the side, sums from the tables and pieces of a kind
// numbered in square order, and writes back as it was read.
TEST(Notation, FenRoundTripsWithSumsSideAndNumbering) {
  int side = Green;
  auto r = test::RecordFromFen(StartFen, &side);
  EXPECT_EQ(side, Red);
  EXPECT_TRUE(test::Snapshot(*r) == test::Snapshot(GameRecord()));
  EXPECT_EQ(WriteFen(*test::RecordFromFen("rheakaehr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RHEAKAEHR r - - 0 1"), Red), StartFen);
  const char* fen = "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 b - - 0 1";
  r = test::RecordFromFen(fen, &side);
  EXPECT_EQ(side, Green);
  EXPECT_EQ(WriteFen(*r, side), fen);
  int32_t value, extra;
  test::FreshSums(*r, value, extra);
  EXPECT_EQ(r->position.boardValue, value);
  EXPECT_EQ(r->position.boardExtraValue, extra);
  EXPECT_EQ(r->position.squares[35], 0x25);  // green soldiers on 27, 29, 31, 33, 35
  EXPECT_EQ(r->position.squares[28], 0x48);  // the red horse on b6 is horse 8
}

TEST(Notation, MalformedFenIsRefusedAndLeavesTheRecord) {
  struct Row { const char* fen; const char* mentions; };
  const Row rows[] = {
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9 w", "9 rows"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/9/RNBAKABNR w", "more than 10 rows"},
      {"rnbakabnr/8/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "row 2"},
      {"rnbakabnrr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "longer"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNX w", "letter 'X'"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/4R4/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "too many red chariots"},
      {"rnba1abnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "no green general"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C2A2C1/9/RNB1KABNR w", "advisor"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/P8/RNBAKABNR w", "soldier"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/B8/P1P1P1P1P/1C5C1/9/RN1AKABNR w", "elephant"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/K8/RNBA1ABNR w", "general"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR x", "side to move"},
  };
  for (const Row& row : rows) {
    auto r = std::make_unique<GameRecord>();
    test::Play(*r, "h2e2");
    const test::Snapshot before(*r);
    int side = -1;
    std::string error;
    EXPECT_FALSE(LoadFen(*r, row.fen, side, error)) << row.fen;
    EXPECT_NE(error.find(row.mentions), std::string::npos) << row.fen << ": " << error;
    EXPECT_TRUE(test::Snapshot(*r) == before) << row.fen;
    EXPECT_EQ(side, -1);
  }
}

TEST(Notation, MoveTextBothWays) {
  struct Row { const char* text; bool ok; int from, to; };
  const Row rows[] = {
      {"h2e2", true, 70, 67}, {"a0a1", true, 81, 72}, {"i9i0", true, 8, 89}, {"e6e5", true, 31, 40},
      {"j2e2", false, 0, 0},  {"h2e", false, 0, 0},  {"", false, 0, 0},     {"h2e2x", false, 0, 0},
      {"H2E2", false, 0, 0},  {"a:a1", false, 0, 0},
  };
  for (const Row& row : rows) {
    int from = -1, to = -1;
    EXPECT_EQ(ParseMove(row.text, from, to), row.ok) << row.text;
    if (!row.ok) continue;
    EXPECT_EQ(from, row.from) << row.text;
    EXPECT_EQ(to, row.to) << row.text;
    EXPECT_EQ(FormatMove(from, to), row.text);
  }
}

}  // namespace
}  // namespace rq
