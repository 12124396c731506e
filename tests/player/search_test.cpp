#include <gtest/gtest.h>

#include <vector>

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
  struct Row {
    const char* what;
    const char* fen;
    int depth;
    const char* move;  // expected move, or "" for none
    int32_t score;
    int32_t detail;
    bool noMoves;
  };
  const Row rows[] = {
      {"no permitted move", "3knP3/4P4/9/9/9/9/9/9/9/3K5 b - - 0 1", 1, "", -WinScore, 0, true},
      {"no permitted move, deeper", "3knP3/4P4/9/9/9/9/9/9/9/3K5 b - - 0 1", 3, "", -WinScore, 0, true},
      {"taking the general wins at once", "3Pk4/9/9/9/9/9/9/9/4r4/4K4 b - - 0 1", 1, "e1e0", WinScore, 0, false},
      {"taking the general wins at once, deeper", "3Pk4/9/9/9/9/9/9/9/4r4/4K4 b - - 0 1", 4, "e1e0", WinScore, 0, false},
  };
  for (const Row& row : rows) {
    int side = Red;
    auto r = test::RecordFromFen(row.fen, &side);
    r->seedRandom(3);
    const test::Snapshot before(*r);
    uint8_t noMoves = 0;
    const SearchResult result = SearchAtDepth(*r, side, row.depth, noMoves);
    EXPECT_EQ(result.status, row.score) << row.what;
    EXPECT_EQ(result.detail, row.detail) << row.what;
    EXPECT_EQ(noMoves != 0, row.noMoves) << row.what;
    if (*row.move) {
      EXPECT_EQ(FormatMove(result), row.move) << row.what;
    }
    EXPECT_TRUE(test::Snapshot(*r) == before) << row.what;
  }
}

// Green completes a fourth cycle while a capture scores better: the draw ends the root.
TEST(Search, RepetitionDrawEndsTheRootAtOnce) {
  auto r = test::RecordFromFen("3k5/8r/9/9/9/9/9/9/R7N/4K4 w - - 0 1");
  const char* cycle[4] = {"a1a2", "i8i7", "a2a1", "i7i8"};
  for (int ply = 0; ply < 17; ++ply) ASSERT_TRUE(test::Play(*r, cycle[ply % 4]));
  for (int depth : {1, 3}) {
    const test::Snapshot before(*r);
    uint8_t noMoves = 0;
    const SearchResult result = SearchAtDepth(*r, Green, depth, noMoves);
    EXPECT_EQ(FormatMove(result), "i8i7") << depth;
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.detail, DrawDetail);
    EXPECT_TRUE(test::Snapshot(*r) == before);
  }
}

// At depth 1 the answer is the first move, in search order, with the best static score.
TEST(Search, DepthOneTakesTheFirstBestStaticScore) {
  const char* fens[] = {StartFen, "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 b - - 0 1",
                        "1cbak4/9/n2a5/2p1p3p/5cp2/2n2N3/6PCP/3AB4/2C6/3A1K1N1 w - - 0 1"};
  for (const char* fen : fens) {
    for (uint32_t seed = 1; seed <= 4; ++seed) {
      int side = Red;
      auto r = test::RecordFromFen(fen, &side);
      r->seedRandom(seed);
      uint8_t noMoves = 0;
      const SearchResult result = SearchAtDepth(*r, side, 1, noMoves);
      int32_t bestScore = -InfiniteScore;
      Move expected;
      for (int family = 0; family < 2; ++family)
        for (int k = 0; k < PiecesPerSide; ++k) {
          const int n = r->pieceOrder[k];
          if (!r->onBoard(side, n)) continue;
          if (family == 0) r->generateCaptures(side, n, 0);
          else r->generateQuietMoves(side, n, 0);
          for (int i = 0; i < r->moveSlots[0].count(); ++i) {
            Move m = r->moveSlots[0].cells[i];
            int32_t reason, detail;
            if (!r->validateMove(m, reason, detail)) continue;
            r->makeMove(side, m);
            const int32_t score = r->staticScore(side);
            r->unmakeMove(side, m);
            if (score > bestScore) {
              bestScore = score;
              expected = m;
            }
          }
        }
      EXPECT_EQ(FormatMove(result), FormatMove(expected)) << fen << " seed " << seed;
      EXPECT_EQ(result.status, bestScore);
    }
  }
}

// Watches which root move is tried: a ply-1 node starts with the report of its first
// piece (k = -1 when it follows the previous line, else k = 0), and the root's move is
// then the one recorded in the history at the root's place.
class RootWatch : public SearchClock {
 public:
  explicit RootWatch(GameRecord& r) : record(r), base(r.moveCount) {}
  bool reportProgress(double x) override {
    if (static_cast<int>(x) == 1) {
      const double k1 = (x - 1.0) * 33.0;  // k + 1, plus 16.5 in the quiet pass
      const bool startsNode = k1 < 0.5 || (k1 > 0.5 && k1 < 1.5 && !lastWasPrevious);
      lastWasPrevious = k1 < 0.5;
      if (startsNode && record.moveCount > base) {
        const HistoryEntry& e = record.history[base];
        triedAtDepth[record.depthLimit].push_back(FormatMove(e.from, e.to));
      }
    }
    return stopAfter >= 0 && ++reports > stopAfter;
  }
  GameRecord& record;
  int base;
  bool lastWasPrevious = false;
  int reports = 0;
  int stopAfter = -1;
  std::vector<std::string> triedAtDepth[MaxSearchPly];
};

TEST(Search, NextIterationTriesThePreviousBestFirstAndAgainInTurn) {
  auto r = test::RecordFromFen(StartFen);
  r->seedRandom(11);
  RootWatch watch(*r);
  r->searchClock = &watch;
  std::vector<std::string> bestAtDepth(8);
  DeepeningHooks hooks;
  hooks.context = &bestAtDepth;
  hooks.iterationDone = [](void* context, const IterationReport& report) {
    (*static_cast<std::vector<std::string>*>(context))[report.depth] = FormatMove(report.result);
  };
  DeepeningLimits limits;
  limits.maxDepth = 4;
  limits.firstTimedDepth = MaxSearchPly;
  uint8_t noMoves = 0;
  IterativeDeepening(*r, Red, limits, noMoves, hooks);
  for (int depth = 3; depth <= 4; ++depth) {
    const auto& tried = watch.triedAtDepth[depth];
    ASSERT_FALSE(tried.empty());
    EXPECT_EQ(tried.front(), bestAtDepth[depth - 1]) << depth;
    int times = 0;
    for (const auto& m : tried) times += m == bestAtDepth[depth - 1];
    EXPECT_EQ(times, 2) << depth;
  }
}

TEST(Search, EverySearchLeavesTheRecordAsItWas) {
  struct Row { const char* fen; const char* firstMove; };
  const Row rows[] = {{StartFen, "a0a1"},
                      {"r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1", "f3f4"},
                      {"4ka3/4a4/9/9/4N4/p8/9/4C3c/7n1/2BK5 w - - 0 1", "e2e1"}};
  for (const Row& row : rows) {
    const char* fen = row.fen;
    for (int stopAfter : {-1, 5, 40}) {
      int side = Red;
      auto r = test::RecordFromFen(fen, &side);
      ASSERT_TRUE(test::Play(*r, row.firstMove));  // a recorded move, so the history has something to lose
      side = 1 - side;
      RootWatch watch(*r);
      watch.stopAfter = stopAfter;
      r->searchClock = &watch;
      const test::Snapshot before(*r);
      const HistoryEntry first = r->history[0];
      DeepeningLimits limits;
      limits.maxDepth = 5;
      limits.firstTimedDepth = MaxSearchPly;
      uint8_t noMoves = 0;
      IterativeDeepening(*r, side, limits, noMoves);
      EXPECT_TRUE(test::Snapshot(*r) == before) << fen << " stop after " << stopAfter;
      EXPECT_EQ(0, std::memcmp(&first, &r->history[0], sizeof(first)));
      EXPECT_FALSE(r->historyOverflowed);
    }
  }
}

// A full history takes no trial moves, and the search never drops a real move from it.
TEST(Search, FullHistoryKeepsTheGamesMoves) {
  for (int played : {HistoryCapacity - 2, HistoryCapacity}) {
    GameRecord r;
    const char* shuffle[4] = {"b0c2", "b9c7", "c2b0", "c7b9"};
    for (int ply = 0; ply < played; ++ply) ASSERT_TRUE(test::Play(r, shuffle[ply % 4]));
    const test::Snapshot before(r);
    const HistoryEntry last = r.history[played - 1];
    uint8_t noMoves = 0;
    const SearchResult result = SearchAtDepth(r, Red, 4, noMoves);
    EXPECT_TRUE(IsBoardMove(result));
    EXPECT_TRUE(test::Snapshot(r) == before) << played;
    EXPECT_EQ(0, std::memcmp(&last, &r.history[played - 1], sizeof(last)));
    EXPECT_FALSE(r.historyOverflowed);
    EXPECT_TRUE(r.canUndo());
  }
}

TEST(Search, LimitsOfEveryLevel) {
  struct Row { int32_t level; double seconds; int32_t depth; };
  const Row rows[] = {{0, 0.1, 4}, {1, 1.0, 5}, {2, 3.0, 6}, {3, 6.0, 7}, {4, 12.0, 8},
                      {-1, 1.0, 5}, {5, 1.0, 5}, {1000, 1.0, 5}};
  for (const Row& row : rows) {
    double seconds = 0;
    int32_t depth = 0;
    DifficultyLimits(row.level, seconds, depth);
    EXPECT_EQ(seconds, row.seconds) << row.level;
    EXPECT_EQ(depth, row.depth) << row.level;
  }
  // Even limits of nothing search one whole iteration and answer with a real move.
  GameRecord r;
  DeepeningLimits none;
  none.thinkSeconds = 0;
  none.firstTimedDepth = 0;
  uint8_t noMoves = 0;
  const SearchResult result = IterativeDeepening(r, Green, none, noMoves);
  EXPECT_TRUE(IsBoardMove(result));
  EXPECT_EQ(r.depthLimit, 2);
}

// The bench's node total is the search's signature: a change that alters the search
// must change this figure knowingly.
TEST(Search, BenchSignature) {
  EXPECT_EQ(BenchNodes(4, false), 430443u);
}

}  // namespace
}  // namespace rq
