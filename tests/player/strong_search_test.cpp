// The strong search: tactics written from the rules, the repetition rules against the table,
// its stops and its signature.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "player/guarded_game.h"
#include "player/strong_search.h"
#include "support/record_helpers.h"
#include "tools/commands.h"

namespace rq {
namespace {

// Four shuffles of a chariot on each side, sixteen plies: the next a0a1 completes a fourth cycle.
const char* const ShuffleCycles = "a0a1 i9i8 a1a0 i8i9 a0a1 i9i8 a1a0 i8i9 a0a1 i9i8 a1a0 i8i9 a0a1 i9i8 a1a0 i8i9";
// Red down a chariot, only shuffling; no check and no chase in the cycle.
const char* const LosingShuffle = "1r1aka2r/9/9/9/9/9/9/9/9/R2K5 w";
// Four cycles of check and escape: the next h8h9 would be a fourth perpetual check.
const char* const CheckCycles = "h8h9 e9e8 h9h8 e8e9 h8h9 e9e8 h9h8 e8e9 h8h9 e9e8 h9h8 e8e9 h8h9 e9e8 h9h8 e8e9";
// Red down two chariots with only a checking chariot.
const char* const LosingChecker = "4k4/7R1/9/9/9/r7r/9/9/9/3K5 w";

struct Found {
  SearchResult result;
  uint8_t noMoves;
};

Found Search(StrongSearch& search, GameRecord& r, int side, StrongLimits limits) {
  Found f{};
  f.result = search.run(r, side, limits, f.noMoves);
  return f;
}

TEST(StrongSearch, FindsTheMoveWithinANodeLimit) {
  constexpr int32_t Any = INT32_MIN;
  struct Row { const char* what; const char* fen; const char* history; const char* move; int32_t score; uint64_t nodes; int depth; };
  const Row rows[] = {
      // d9d8 stays on the chariot's file and e9 would face the red general.
      {"mate in one by the facing generals", "3k5/9/9/9/9/p8/9/9/R8/4K4 w", "", "a1d1", WinScore - 2, 2000, StrongMaxDepth},
      // The cannon on e3 is the screen; an advisor on e8 would be a second one for the front cannon.
      {"mate in one through a cannon screen", "3aka3/9/9/9/9/9/4C4/C8/9/3K5 w", "", "a2e2", WinScore - 2, 2000, StrongMaxDepth},
      // Ad9 is forced; the chariot takes it and the general may not, facing the red one.
      {"mate in two by the facing generals", "4k4/4a4/R3P4/9/9/9/9/9/9/3K5 w", "", "a7a9", WinScore - 4, 20000, StrongMaxDepth},
      // The cannon takes over the other one; the advisors may not leave the file; two cannons mate.
      {"mate in three with cannon screens", "3ak1C2/4a4/9/9/6C2/9/9/9/6p2/4K4 w", "", "g9g1", WinScore - 6, 400000, StrongMaxDepth},
      // At one ply only quiescence sees the horse take back the chariot, and the soldier take it.
      {"a defended cannon left alone", "4k4/9/1n7/9/2c6/6p2/9/7N1/2R6/3K5 w", "", "h2g4", Any, 5000, 1},
      {"a threatened chariot saved by its capture", "4k4/9/9/9/4p4/4R1p2/9/7N1/9/5K3 w", "", "e4e5", Any, 5000, 1},
      {"a repetition draw taken when losing", LosingShuffle, ShuffleCycles, "a0a1", 0, 50000, StrongMaxDepth},
      // d9d8 would face the red general, and the horse's legs are all blocked: lost.
      {"no permitted move", "3knP3/4P4/9/9/9/9/9/9/9/3K5 b", "", "", -WinScore, 1000, StrongMaxDepth},
  };
  for (const Row& row : rows) {
    int side = Red;
    auto r = test::PlayedRecord(row.history, row.fen, &side);
    const test::Snapshot before(*r);
    auto search = std::make_unique<StrongSearch>(16);
    StrongLimits limits;
    limits.maxNodes = row.nodes;
    limits.maxDepth = row.depth;
    const Found f = Search(*search, *r, side, limits);
    EXPECT_EQ(*row.move ? FormatMove(f.result) : std::string(), row.move) << row.what;
    EXPECT_EQ(f.noMoves != 0, *row.move == '\0') << row.what;
    if (row.score != Any) { EXPECT_EQ(f.result.status, row.score) << row.what; }
    EXPECT_EQ(f.result.detail, row.score == 0 ? ReasonRepetition : 0) << row.what;
    EXPECT_TRUE(test::Snapshot(*r) == before) << row.what;
  }
}

// The fourth perpetual check is never played; with no history the same check is the search's choice.
TEST(StrongSearch, AvoidsAFourthPerpetualCheck) {
  for (const char* history : {"", CheckCycles}) {
    int side = Red;
    auto r = test::PlayedRecord(history, LosingChecker, &side);
    auto search = std::make_unique<StrongSearch>(16);
    StrongLimits limits;
    limits.maxNodes = 200000;
    const Found f = Search(*search, *r, side, limits);
    EXPECT_EQ(FormatMove(f.result) == "h8h9", *history == '\0') << FormatMove(f.result);
  }
}

// Under its own rules the search may count on the opponent's fourth perpetual check or chase
// being refused; where another program referees, that move is a draw and wins nothing.
TEST(StrongSearch, CountsOnNoRefusalWhereAnotherProgramReferees) {
  int side = Red;
  auto r = test::PlayedRecord(test::HostedChaseBeforeLastCheck(), test::HostedChaseStart, &side);
  for (bool hosted : {false, true}) {
    auto search = std::make_unique<StrongSearch>(16);
    StrongLimits limits;
    limits.maxNodes = 400000;
    limits.hostJudgesRepetitions = hosted;
    const Found f = Search(*search, *r, side, limits);
    EXPECT_EQ(f.result.status > WinScore - StrongMaxDepth, !hosted) << FormatMove(f.result) << " " << f.result.status;
  }
}

// A repetition judged in one history is never taken from the table into another: the nodes
// that judged one are not stored, and a search after one in another history answers as a
// fresh search would.
TEST(StrongSearch, TheTableCarriesNoRepetitionVerdict) {
  const std::string shuffleHalf = std::string(ShuffleCycles).substr(0, 15 * 5 - 1);  // green to move, red's draw next
  const std::string checkHalf = std::string(CheckCycles).substr(0, 14 * 5 - 1);      // the fourth check two plies on
  // `judged`: moves from there to the node whose own move meets the rule.
  struct Row { const char* fen; std::string history; const char* judged; };
  const Row rows[] = {{LosingShuffle, ShuffleCycles, ""}, {LosingShuffle, shuffleHalf, "i8i9"},
                      {LosingChecker, CheckCycles, ""}, {LosingChecker, checkHalf, "h9h8 e8e9"}};
  StrongLimits limits;
  limits.maxDepth = 7;
  for (const Row& row : rows)
    for (bool historyFirst : {true, false}) {
      int side = Red;
      auto played = test::PlayedRecord(row.history, row.fen, &side);
      // The same position without the moves that led to it.
      auto plain = test::RecordFromFen(WriteFen(*played, side));
      GameRecord& first = historyFirst ? *played : *plain;
      GameRecord& second = historyFirst ? *plain : *played;
      auto shared = std::make_unique<StrongSearch>(16);
      auto fresh = std::make_unique<StrongSearch>(16);
      Search(*shared, first, side, limits);
      if (historyFirst) {
        int judgedSide = Red;
        const auto judged = test::PlayedRecord(row.history + " " + row.judged, row.fen, &judgedSide);
        EXPECT_EQ(shared->transpositions().probe(PositionKey(*judged, judgedSide)), nullptr) << row.fen << " " << row.judged;
      }
      const Found after = Search(*shared, second, side, limits);
      const Found alone = Search(*fresh, second, side, limits);
      const std::string order = std::string(row.fen) + (historyFirst ? ", history first" : ", history second");
      EXPECT_EQ(FormatMove(after.result), FormatMove(alone.result)) << order;
      EXPECT_EQ(after.result.status, alone.result.status) << order;
      EXPECT_EQ(after.result.detail, alone.result.detail) << order;
    }
}

// The clock of the tests: one millisecond a hundred moves made, and the worker's stop after a
// count of moves; it notes every progress value the crystal ball was given.
struct TestClock {
  static const StrongSearch* search;
  static SearchClock* clock;
  static GuardedGame* game;
  static uint64_t stopAt;
  static std::vector<double> shown;
  static int32_t Now() {
    if (search->nodes >= stopAt) clock->stop = true;
    shown.push_back(game->progress);
    return static_cast<int32_t>(search->nodes / 100);
  }
};
const StrongSearch* TestClock::search = nullptr;
SearchClock* TestClock::clock = nullptr;
GuardedGame* TestClock::game = nullptr;
uint64_t TestClock::stopAt = 0;
std::vector<double> TestClock::shown;

void KeepLastIteration(void* context, const IterationReport& report) {
  *static_cast<IterationReport*>(context) = report;
}

// A ceiling of time or of moves, or a stop from the worker, ends the search inside an
// iteration at the next look at the clock (a stop may come just after one); the answer is the
// last whole iteration's, the record is as it was, and the crystal ball fills in proportion
// to the time, never moving back.
TEST(StrongSearch, StopsInsideAnIterationWithTheLastWholeOne) {
  const char* const Midgame = "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1";
  struct Row { const char* what; int32_t ceilingMs; uint64_t stopAt, maxNodes, mostNodes; };
  const Row rows[] = {
      {"time ceiling", 600, UINT64_MAX, 0, 60000 + 1024},
      {"the worker's stop", 1 << 30, 40000, 0, 40000 + 2 * 1024},
      {"move ceiling", -1, UINT64_MAX, 50000, 50000},
  };
  for (const Row& row : rows) {
    int side = Red;
    auto r = test::PlayedRecord("f3f4 e8d8 f4f3 d8e8", Midgame, &side);
    auto game = std::make_unique<GuardedGame>();
    auto search = std::make_unique<StrongSearch>(16);
    TestClock::search = search.get();
    TestClock::clock = &game->clock;
    TestClock::game = game.get();
    TestClock::stopAt = row.stopAt;
    TestClock::shown.clear();
    game->clock.now = TestClock::Now;
    r->searchClock = &game->clock;
    const test::Snapshot before(*r);
    const std::vector<HistoryEntry> history(r->history, r->history + r->moveCount);
    IterationReport last{};
    DeepeningHooks hooks;
    hooks.context = &last;
    hooks.iterationDone = KeepLastIteration;
    StrongLimits limits;
    limits.ceilingMs = row.ceilingMs;
    limits.maxNodes = row.maxNodes;
    uint8_t noMoves = 0;
    const SearchResult result = search->run(*r, side, limits, noMoves, hooks);
    SCOPED_TRACE(row.what);
    EXPECT_LE(search->nodes, row.mostNodes);
    EXPECT_GE(last.depth, 3);
    EXPECT_EQ(last.depth, search->completedDepth);
    EXPECT_EQ(FormatMove(result), FormatMove(last.result));
    EXPECT_TRUE(test::Snapshot(*r) == before);
    EXPECT_TRUE(std::memcmp(history.data(), r->history, history.size() * sizeof(HistoryEntry)) == 0);
    EXPECT_TRUE(std::is_sorted(TestClock::shown.begin(), TestClock::shown.end()));
    // Without a ceiling there is no proportion to show.
    if (row.ceilingMs == 600) { EXPECT_GT(TestClock::shown.back(), 0.8); }
    if (row.ceilingMs < 0) { EXPECT_EQ(TestClock::shown.back(), 0.0); }
  }
}

// The strong search's signature: a change that alters its node total must change it knowingly.
TEST(StrongSearch, BenchSignature) { EXPECT_EQ(StrongBenchNodes(6, false), 706478u); }

}  // namespace
}  // namespace rq
