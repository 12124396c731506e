// The search worker and its stop.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "player/guarded_game.h"
#include "player/search.h"
#include "rules/notation.h"
#include "support/record_helpers.h"

namespace rq {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Flags { bool requested, searching, usersTurn; double progress; int bestTo; };

Flags ReadFlags(GuardedGame& g) {
  return UnderGameLock(g, [&] { return Flags{g.searchRequested, g.searching, g.usersTurn, g.progress, g.bestMove.to}; });
}

// A game with its worker running, ended cleanly however the test leaves.
struct RunningGame {
  RunningGame() { game->resetForNewGame(), worker = std::thread(SearchWorkerMain, game.get()); }
  ~RunningGame() { EndSearchWorker(*game, worker); }
  std::unique_ptr<GuardedGame> game = std::make_unique<GuardedGame>();
  std::thread worker;
};

// A request is taken, thought over and answered, or cut short by a stop; the record is left as it was.
TEST(Worker, RequestThinkingAnswerAndStop) {
  for (bool stop : {false, true}) {
    RunningGame run;
    GuardedGame& g = *run.game;
    int side = Red;
    std::string error;
    ASSERT_TRUE(LoadFen(g.record, "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 b - - 0 1", side, error));
    const test::Snapshot before(g.record);
    // The request hands them over.
    g.thinkSeconds = stop ? 60.0 : 0.1;
    g.firstTimedDepth = stop ? 30 : 3;
    RequestComputerMove(g);
    bool sawThinking = false;
    const auto start = Clock::now();
    for (Flags f = ReadFlags(g); f.requested || f.searching; f = ReadFlags(g)) {
      EXPECT_FALSE(f.usersTurn);  // one of the two flags is set all the while
      sawThinking |= f.searching && !f.requested;
      ASSERT_LT(Clock::now() - start, std::chrono::seconds(20));
      if (stop && sawThinking && Clock::now() - start > milliseconds(400)) {
        const auto asked = Clock::now();
        StopSearch(g);
        EXPECT_LT(Clock::now() - asked, std::chrono::seconds(5));
      }
      std::this_thread::sleep_for(milliseconds(2));
    }
    EXPECT_TRUE(sawThinking);
    LockGame(g);
    if (!stop) { EXPECT_TRUE(IsBoardMove(g.bestMove) && !g.noMoves && g.progress == 1.0 && g.record.depthLimit >= 3); }
    EXPECT_TRUE(test::Snapshot(g.record) == before);
    UnlockGame(g);
  }
}

// At a strong level the worker plays the strong search, for the computer and for red's hint
// alike: each finds its mate in three and answers once it sees the mate through, long before the
// level's ten seconds that the plain search would spend; the record is left as it was.
TEST(Worker, AStrongLevelAnswersMoveAndHintWithTheStrongSearch) {
  const struct { const char* fen; bool hint; const char* move; } rows[] = {
      {"3ak1C2/4a4/9/9/6C2/9/9/9/6p2/4K4 w", true, "g9g1"},
      {"4k4/6P2/9/9/9/6c2/9/9/4A4/3AK1c2 b", false, "g0g8"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.fen);
    RunningGame run;
    GuardedGame& g = *run.game;
    int side = Red, from = 0, to = 0;
    std::string error;
    ASSERT_TRUE(LoadFen(g.record, row.fen, side, error)) << error;
    ASSERT_TRUE(ParseMove(row.move, from, to));
    const test::Snapshot before(g.record);
    UnderGameLock(g, [&] {
      DifficultyLimits(LastStrongLevel, g.thinkSeconds, g.firstTimedDepth);
      g.ceilingMs = StrongLevelCeilingMs(LastStrongLevel);
    });
    const uint32_t number = row.hint ? RequestHint(g) : 0;
    if (!row.hint) RequestComputerMove(g);
    const auto start = Clock::now();
    while (row.hint ? UnderGameLock(g, [&] { return g.hintAnswered != number; }) : ReadFlags(g).searching ||
                                                                                       ReadFlags(g).requested) {
      ASSERT_LT(Clock::now() - start, std::chrono::seconds(20));
      std::this_thread::sleep_for(milliseconds(2));
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    LockGame(g);
    const Move answer = row.hint ? g.hintMove : g.bestMove;
    EXPECT_EQ(answer.from, from);
    EXPECT_EQ(answer.to, to);
    EXPECT_TRUE(test::Snapshot(g.record) == before);
    UnlockGame(g);
  }
}

// A request the worker has not yet taken is withdrawn by the stop: no search starts later.
TEST(Worker, StopWithdrawsAPendingRequest) {
  RunningGame run;
  GuardedGame& g = *run.game;
  std::this_thread::sleep_for(milliseconds(30));
  RequestComputerMove(g);
  StopSearch(g);
  const int before = ReadFlags(g).bestTo;
  std::this_thread::sleep_for(milliseconds(250));
  const Flags f = ReadFlags(g);
  EXPECT_TRUE(!f.requested && !f.searching && f.bestTo == before && f.progress == 0.0);
}

}  // namespace
}  // namespace rq
