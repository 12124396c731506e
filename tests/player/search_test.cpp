// The search on the game record: what the root finds, what it leaves behind, and its signature.
#include <gtest/gtest.h>

#include "player/guarded_game.h"
#include "player/search.h"
#include "player/search_clock.h"
#include "support/record_helpers.h"
#include "tools/commands.h"

namespace rq {
namespace {

SearchResult SearchAtDepth(GameRecord& r, int side, int depth, uint8_t& noMoves) {
  r.depthLimit = depth;
  PrincipalLine previous, line;
  noMoves = 0;
  return searchNode(r, side, -InfiniteScore, InfiniteScore, 0, &noMoves, &previous, &line);
}

TEST(Search, RootOutcomes) {
  struct Row { const char* fen; int cycles; std::vector<int> depths; const char* move; int32_t score, detail; bool noMoves; };
  const Row rows[] = {
      {"3knP3/4P4/9/9/9/9/9/9/9/3K5 b - - 0 1", 0, {1, 3}, "", -WinScore, 0, true},  // no permitted move
      {"3Pk4/9/9/9/9/9/9/9/4r4/4K4 b - - 0 1", 0, {1, 4}, "e1e0", WinScore, 0, false},  // the general taken at once
      {"3k5/9/9/9/9/9/9/r8/1r7/4K4 b - - 0 1", 0, {3}, "", WinScore - 2, 0, false},  // a win two plies on scores less
      // Green completes a fourth cycle while a capture scores better: the draw ends the root.
      {"3k5/8r/9/9/9/9/9/9/R7N/4K4 w - - 0 1", 17, {1, 3}, "i8i7", 0, ReasonRepetition, false},
  };
  const char* cycle[4] = {"a1a2", "i8i7", "a2a1", "i7i8"};
  for (const Row& row : rows)
    for (int depth : row.depths) {
      int side = Red;
      auto r = test::RecordFromFen(row.fen, &side);
      for (int ply = 0; ply < row.cycles; ++ply) ASSERT_TRUE(test::Play(*r, cycle[ply % 4]));
      r->seedRandom(3);
      const test::Snapshot before(*r);
      uint8_t noMoves = 0;
      const SearchResult result = SearchAtDepth(*r, (side + row.cycles) % 2, depth, noMoves);
      EXPECT_TRUE(result.status == row.score && result.detail == row.detail && (noMoves != 0) == row.noMoves)
          << row.fen << " depth " << depth << ": " << result.status << " " << result.detail;
      if (*row.move) { EXPECT_EQ(FormatMove(result), row.move) << row.fen; }
      EXPECT_TRUE(test::Snapshot(*r) == before) << row.fen;
    }
}

// Stops after a number of progress reports.
struct StoppingClock : SearchClock {
  bool reportProgress(double) override { return stopAfter >= 0 && ++reports > stopAfter; }
  int reports = 0;
  int stopAfter = -1;
};

// Counts nodes as milliseconds, standing still until `stillUntil` nodes: every iteration starts
// at once, and only the hard limit ends the search, deep in the tree.
const GameRecord* watched = nullptr;
uint64_t stillUntil = 0;
int32_t NodesAsMilliseconds() {
  return watched->searchNodes < stillUntil ? 0 : static_cast<int32_t>(watched->searchNodes);
}

// A stopped search leaves the record as it was; one on a full history takes no trial moves and drops no real move.
TEST(Search, AStoppedSearchLeavesTheRecordAsItWas) {
  // `played` shuffles of the horses from the start stand in for the first move.
  struct Row { const char* fen; const char* firstMove; int stopAfter; int32_t deadline; int played; };
  const char* const Midgame = "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1";
  const Row rows[] = {{StartFen, "a0a1", -1, -1, 0}, {StartFen, "a0a1", 5, -1, 0}, {Midgame, "f3f4", 40, -1, 0},
                      {"4ka3/4a4/9/9/4N4/p8/9/4C3c/7n1/2BK5 w - - 0 1", "e2e1", 40, -1, 0},
                      // A deadline cuts the deepening deep in the tree, within the nodes between two looks.
                      {Midgame, "f3f4", -1, 300000, 0}, {StartFen, "a0a1", -1, 77777, 0},
                      {StartFen, "", -1, -1, HistoryCapacity - 2}, {StartFen, "", -1, -1, HistoryCapacity}};
  const char* const shuffle[4] = {"b0c2", "b9c7", "c2b0", "c7b9"};
  for (const Row& row : rows) {
    int side = Red;
    auto r = test::RecordFromFen(row.fen, &side);
    const int plies = std::max(row.played, 1);  // recorded moves, so the history has something to lose
    for (int ply = 0; ply < plies; ++ply) ASSERT_TRUE(test::Play(*r, row.played ? shuffle[ply % 4] : row.firstMove));
    StoppingClock clock;
    clock.stopAfter = row.stopAfter;
    clock.now = NodesAsMilliseconds;
    watched = r.get();
    stillUntil = row.deadline < 0 ? 0 : uint64_t(row.deadline);
    r->searchClock = &clock;
    const test::Snapshot before(*r);
    const std::vector<HistoryEntry> history(r->history, r->history + r->moveCount);
    const DeepeningLimits limits{1.0, MaxSearchPly, row.deadline < 0 ? 5 : 7, row.deadline};
    uint8_t noMoves = 0;
    const SearchResult result = IterativeDeepening(*r, (side + plies) % 2, limits, noMoves);
    SCOPED_TRACE(std::string(row.fen) + " stop after " + std::to_string(row.stopAfter) + ", played " + std::to_string(row.played));
    EXPECT_TRUE(test::Snapshot(*r) == before);
    EXPECT_TRUE(std::memcmp(history.data(), r->history, history.size() * sizeof(HistoryEntry)) == 0);
    EXPECT_TRUE(!r->historyOverflowed && r->canUndo() && (!row.played || IsBoardMove(result)));
    if (row.deadline >= 0) { EXPECT_LT(r->searchNodes, uint64_t(row.deadline) + 1024 + 16); }
    if (row.deadline >= 0) { EXPECT_GE(r->searchNodes, uint64_t(row.deadline)); }
  }
}

TEST(Search, LevelsAndTheirLimits) {
  // Each level thinks longer and deeper than the one below; any other level plays as level 1.
  double seconds[7];
  int32_t depths[7];
  const int32_t levels[7] = {0, 1, 2, 3, 4, -1, LastStrongLevel + 1};
  for (int i = 0; i < 7; ++i) DifficultyLimits(levels[i], seconds[i], depths[i]);
  for (int i = 1; i < 5; ++i) EXPECT_TRUE(seconds[i] > seconds[i - 1] && depths[i] > depths[i - 1]) << levels[i];
  for (int i = 5; i < 7; ++i) EXPECT_TRUE(seconds[i] == seconds[1] && depths[i] == depths[1]) << levels[i];
  // Even limits of nothing search one whole iteration and answer with a real move.
  GameRecord r;
  uint8_t noMoves = 0;
  EXPECT_TRUE(IsBoardMove(IterativeDeepening(r, Green, DeepeningLimits{0, 0}, noMoves)));
  EXPECT_EQ(r.depthLimit, 2);
}

// The bench's node total is the search's signature: a change that alters the search must change it knowingly.
// The crystal ball: half full as the time budget runs out, then filling as the deeper iterations
// get through the root's pieces; a new iteration starting at the first piece never empties it.
TEST(SearchClock, ProgressFillsAndNeverMovesBack) {
  static int32_t nowMs = 0;
  auto game = std::make_unique<GuardedGame>();
  SearchClock clock;
  clock.owner = game.get();
  clock.now = [] { return nowMs; };
  clock.activeBudget = true;
  clock.budgetSeconds = 1.0;
  const struct { int32_t ms; double x, progress; } steps[] = {
      {0, 0.0, 0.0},     {500, 0.9, 0.25},   {1100, 0.0, 0.5},  {1200, 0.3, 0.65},
      {1300, 0.1, 0.65}, {1400, 1.5, 0.65},  {1500, 0.6, 0.8},
  };
  for (const auto& s : steps) {
    nowMs = s.ms;
    EXPECT_FALSE(clock.reportProgress(s.x));
    EXPECT_NEAR(game->progress, s.progress, 1e-9) << s.ms << " ms";
  }
}

TEST(Search, BenchSignature) { EXPECT_EQ(BenchNodes(4, false), 430443u); }

}  // namespace
}  // namespace rq
