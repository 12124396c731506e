#include <gtest/gtest.h>

#include <vector>

#include "support/record_helpers.h"

namespace rq {
namespace {

enum Family { Captures, Quiet };

// The destinations of one piece's family, in generation order.
std::vector<int> Destinations(GameRecord& r, int square, Family family) {
  const uint8_t code = r.position.squares[square];
  EXPECT_NE(code, 0) << "no piece on " << square;
  if (family == Captures) r.generateCaptures(sideOfCode(code), code & IndexMask, 0);
  else r.generateQuietMoves(sideOfCode(code), code & IndexMask, 0);
  std::vector<int> out;
  for (int i = 0; i < r.moveSlots[0].count(); ++i) {
    EXPECT_EQ(r.moveSlots[0].cells[i].from, square);
    out.push_back(r.moveSlots[0].cells[i].to);
  }
  return out;
}

struct GenRow { const char* what; const char* fen; int square; Family family; std::vector<int> expected; };

TEST(MoveGeneration, EachRuleWritesItsMovesInOrder) {
  const GenRow rows[] = {
      {"cannon jumps the screen", StartFen, 64, Captures, {1}},
      {"cannon quiet rays", StartFen, 64, Quiet, {55, 46, 37, 28, 73, 63, 65, 66, 67, 68, 69}},
      {"horse through its one free leg", StartFen, 82, Quiet, {65, 63}},
      {"soldier before the river", StartFen, 58, Quiet, {49}},
      {"soldier across the river", "3k5/9/9/9/4P4/9/9/9/9/4K4 w - - 0 1", 40, Quiet, {31, 39, 41}},
      {"soldier on the last rank", "4P4/4k4/9/9/9/9/9/9/9/3K5 w - - 0 1", 4, Quiet, {3, 5}},
      {"soldier on the edge file", "3k5/9/9/9/P8/9/9/9/9/4K4 w - - 0 1", 36, Quiet, {27, 37}},
      {"green soldier across", "3k5/9/9/9/9/4p4/9/9/9/3K5 b - - 0 1", 49, Quiet, {58, 48, 50}},
      {"red elephant on the river bank", "3k5/9/9/9/9/2B3B2/9/9/9/4K4 w - - 0 1", 47, Quiet, {63, 67}},
      {"red elephant on the right bank", "3k5/9/9/9/9/2B3B2/9/9/9/4K4 w - - 0 1", 51, Quiet, {67, 71}},
      {"green elephant on the river bank", "2b1k4/9/9/9/2b6/9/9/9/9/4K4 b - - 0 1", 38, Quiet, {18, 22}},
      {"elephant eye blocked by a green piece", "3k5/9/9/9/9/9/9/9/3p5/2B1K4 w - - 0 1", 83, Quiet, {63}},
      {"elephant eyes blocked by both colours", "3k5/9/9/9/9/9/9/9/1N1p5/2B1K4 w - - 0 1", 83, Quiet, {}},
      {"advisor centre moves in order", "3k5/9/9/9/9/9/9/9/4A4/3K5 w - - 0 1", 76, Quiet, {66, 68, 86}},
      {"advisor corner blocked by own centre", "3k5/9/9/9/9/9/9/9/4A4/3AK4 w - - 0 1", 84, Quiet, {}},
      {"cannon without a screen takes nothing", "3k5/9/9/9/4r4/9/9/9/4C4/3K5 w - - 0 1", 76, Captures, {}},
      {"chariot never jumps", "3k5/9/9/9/4r4/4p4/9/9/4R4/3K5 w - - 0 1", 76, Captures, {49}},
      {"chariot takes no own piece", "3k5/9/9/9/4N4/9/9/9/4R4/3K5 w - - 0 1", 76, Captures, {}},
      {"general stays in the palace", "3k5/9/9/9/9/9/9/9/9/3K5 w - - 0 1", 84, Quiet, {75, 85}},
      {"general on the palace's front row", "3k5/9/9/9/9/9/9/4K4/9/9 w - - 0 1", 67, Quiet, {76, 68, 66}},
      {"green general order", "9/4k4/9/9/9/9/9/9/9/3K5 b - - 0 1", 13, Quiet, {4, 22, 14, 12}},
      {"horse on the edge", "3k5/9/9/9/9/9/9/9/9/N2K5 w - - 0 1", 81, Quiet, {64, 74}},
  };
  for (const GenRow& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    EXPECT_EQ(Destinations(*r, row.square, row.family), row.expected) << row.what;
  }
}

}  // namespace
}  // namespace rq
