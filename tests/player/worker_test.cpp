// The search worker and its stop.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "player/guarded_game.h"
#include "player/search.h"
#include "support/record_helpers.h"

namespace rq {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Flags { bool requested, searching, usersTurn; double progress; int bestTo; };

Flags ReadFlags(GuardedGame& g) {
  LockGame(g);
  const Flags f{g.searchRequested, g.searching, g.usersTurn, g.progress, g.bestMove.to};
  UnlockGame(g);
  return f;
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
