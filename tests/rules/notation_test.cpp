#include <gtest/gtest.h>

#include "rules/chinese_notation.h"
#include "rules/wxf.h"
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

namespace rq {
namespace {

TEST(ChineseNotation, TrickyCasesReadBackToTheSameMoveAsWxf) {
  struct Row { const char* fen; const char* move; const char* text; };
  const char* const GreenStart = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 0 1";
  const char* const Advisors = "3k5/9/9/9/9/9/9/3A5/9/3AK4 w - - 0 1";
  const char* const Elephants = "3k5/9/9/9/9/2B6/9/9/9/2B1K4 w - - 0 1";
  const char* const RedChariots = "3k5/9/9/9/9/9/4R4/9/4R4/3K5 w - - 0 1";
  const char* const GreenChariots = "4rk3/9/4r4/9/9/9/9/9/9/3K5 b - - 0 1";
  const char* const ThreeSoldiers = "3k5/9/4P4/4P4/4P4/9/9/9/9/3K5 w - - 0 1";
  const char* const FourSoldiers = "3k5/4P4/4P4/4P4/4P4/9/9/9/9/3K5 w - - 0 1";
  const char* const TwoFiles = "3k5/9/9/2P1P4/2P1P4/9/9/9/9/3K5 w - - 0 1";
  const Row rows[] = {
      {StartFen, "h2e2", "炮二平五"}, {StartFen, "b0c2", "马八进七"}, {StartFen, "a0a1", "车九进一"},
      {StartFen, "e0e1", "帅五进一"}, {StartFen, "e3e4", "兵五进一"},
      // Green counts in full-width digits from its own right: column a is its file 1.
      {GreenStart, "h9g7", "马８进７"}, {GreenStart, "b7e7", "炮２平５"}, {GreenStart, "b7b0", "炮２进７"},
      {GreenStart, "d9e8", "士４进５"}, {GreenStart, "c9e7", "象３进５"}, {GreenStart, "e9e8", "将５进１"},
      // Advisors and elephants keep their file on a shared file: the direction tells them apart.
      {Advisors, "d0e1", "仕六进五"}, {Advisors, "d2e1", "仕六退五"},
      {Elephants, "c4e2", "相七退五"}, {Elephants, "c0e2", "相七进五"},
      // Front and rear; green's front piece is the lower one on the picture.
      {RedChariots, "e3e5", "前车进二"}, {RedChariots, "e1d1", "后车平六"},
      {GreenChariots, "e7e6", "前车进１"}, {GreenChariots, "e9d9", "后车平４"},
      {"3k5/9/9/9/4H4/9/9/9/9/3KH4 w - - 0 1", "e0f2", "后马进四"},
      // Soldiers on one file: two front and rear, three front, middle and rear, more numbered.
      {"3k5/9/9/4P4/4P4/9/9/9/9/3K5 w - - 0 1", "e5d5", "后兵平六"},
      {ThreeSoldiers, "e7e8", "前兵进一"}, {ThreeSoldiers, "e6d6", "中兵平六"}, {ThreeSoldiers, "e5f5", "后兵平四"},
      {FourSoldiers, "e7d7", "二兵平六"}, {FourSoldiers, "e5f5", "四兵平四"},
      {"5k3/9/9/9/9/4p4/4p4/9/9/3K5 b - - 0 1", "e3e2", "前卒进１"},
      // Two files with several soldiers: the place is followed by the file.
      {TwoFiles, "e6e7", "前五进一"}, {TwoFiles, "c5b5", "后七平八"},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    int from = 0, to = 0;
    ASSERT_TRUE(ParseMove(row.move, from, to)) << row.move;
    EXPECT_EQ(FormatChineseMove(r->position, from, to), row.text) << row.fen << " " << row.move;
    const int side = sideOfCode(r->position.squares[from]);
    int cnFrom = -1, cnTo = -1, wxfFrom = -1, wxfTo = -1;
    EXPECT_TRUE(ParseChineseMove(*r, side, row.text, cnFrom, cnTo)) << row.text;
    EXPECT_EQ(FormatMove(cnFrom, cnTo), row.move) << row.text;
    EXPECT_TRUE(ParseWxfMove(*r, side, FormatWxfMove(r->position, from, to), wxfFrom, wxfTo)) << row.text;
    EXPECT_EQ(FormatMove(wxfFrom, wxfTo), row.move) << row.text;
  }
}

}  // namespace
}  // namespace rq
