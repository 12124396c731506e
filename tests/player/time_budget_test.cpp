// The time decisions of a search: the plan for a protocol's request, which iterations may start, and
// when the tree must end.
#include <gtest/gtest.h>

#include <vector>

#include "player/search_clock.h"
#include "player/time_budget.h"

namespace rq {
namespace {

int32_t fakeNow = 0;
int32_t FakeNow() { return fakeNow; }

TEST(SearchPlan, BudgetsFollowTheRequestAndTheClockLasts) {
  // Request: depth, time per move, clock, increment, moves to go. hardAtMost -1: no hard limit.
  struct Row { GoRequest q; int32_t maxDepth, firstTimedDepth, hardAtLeast, hardAtMost; };
  const Row rows[] = {
      {{0, -1, -1}, 98, 5, -1, -1},          // the level alone
      {{500, -1, -1}, 98, 100, -1, -1},      // a depth past the slots
      {{0, 1000, -1}, 98, 2, 690, 750},      // time per move keeps a late read back
      {{0, 10000, -1}, 98, 2, 9600, 9700},
      {{0, 50, -1}, 98, 2, 25, 25},
      {{0, -1, 60000}, 98, 5, 1000, 2000},   // sudden death
      {{0, -1, 5000, 0, 1}, 98, 5, 4600, 4940},   // the last move before the control may spend most of the clock
      {{0, -1, 5000, 0, 2}, 98, 5, 1000, 2250},   // one move after it still needs time
      {{0, -1, 0}, 98, 5, 1, 1},             // nothing left
      {{0, -1, 2000, 1000}, 98, 5, 300, 700},  // increment
  };
  for (const Row& row : rows) {
    const SearchPlan p = PlanSearch(row.q, 1);
    SCOPED_TRACE(std::to_string(row.q.moveTimeMs) + " " + std::to_string(row.q.remainingMs) + " " +
                 std::to_string(row.q.movesToGo));
    EXPECT_EQ(p.maxDepth, row.maxDepth);
    EXPECT_EQ(p.firstTimedDepth, row.firstTimedDepth);
    EXPECT_GE(p.hardLimitMs, row.hardAtLeast);
    EXPECT_LE(p.hardLimitMs, row.hardAtMost);
    // No iteration starts that the hard limit leaves no room for, and the clock is never spent in one move.
    if (row.hardAtMost > 0) { EXPECT_LE(p.thinkSeconds * 1000, p.hardLimitMs + 0.5); }
    if (row.q.remainingMs > 0) { EXPECT_LE(p.hardLimitMs, row.q.remainingMs - MoveOverheadMs); }
  }
  EXPECT_TRUE(PlanSearch(GoRequest{0, -1, -1, 0, 0, true}, 1).infinite);
  // A strong level's own time keeps back what a GUI's time per move does: its answer, as the GUI reads
  // it, is inside the level's time.
  for (int32_t level = FirstStrongLevel; level <= LastStrongLevel; ++level) {
    const int32_t ceiling = StrongLevelCeilingMs(level);
    EXPECT_EQ(PlanSearch(GoRequest{0, -1, 600000}, level).levelCeilingMs, PlanSearch(GoRequest{0, ceiling, -1}, 1).hardLimitMs);
  }
  // A minute without increment lasts a long game: every move spends its whole hard limit plus a round
  // trip, and the clock still sees 120 moves through.
  for (int32_t level = 0; level <= LastStrongLevel; ++level) {
    int64_t remaining = 60000;
    for (int moves = 0; moves < 120; ++moves) remaining -= PlanSearch(GoRequest{0, -1, remaining}, level).hardLimitMs + 60;
    EXPECT_GT(remaining, 0) << "level " << level;
  }
}

// Iterations 1..n end at the times given; then the next one asks whether it may start.
TEST(SearchDeadline, IterationsStartWhileTheyCanEndInTime) {
  struct Row { const char* what; DeepeningLimits limits; std::vector<int32_t> ends; bool mayStart; };
  const Row rows[] = {
      {"the first iteration always runs", {0.0, 0, 98, 0}, {}, true},
      {"past the think time from the first timed depth", {1.0, 5, 98, -1}, {100, 300, 600, 1200}, false},
      {"below the first timed depth", {1.0, 6, 98, -1}, {100, 300, 600, 1200}, true},
      {"within the think time", {1.0, 5, 98, -1}, {100, 300, 600, 900}, true},
      {"half of a fixed time per move", {0.5, 2, 98, 1000}, {600}, false},
      {"room for five times the iteration", {10.0, 100, 98, 1000}, {10, 30, 100}, true},
      {"no room for five times the iteration", {10.0, 100, 98, 1000}, {10, 200, 400}, false},
      // The guess stands on the iteration just ended: after a 300 ms fourth iteration, a fifth would not
      // end in the 600 ms left.
      {"the iteration just ended weighed", {10.0, 100, 98, 1000}, {10, 30, 100, 400}, false},
      {"room for five times the iteration just ended", {10.0, 100, 98, 2000}, {10, 30, 100, 400}, true},
      {"growth over two plies seen one ply back", {10.0, 100, 98, 5000}, {10, 20, 220, 420, 440}, false},
  };
  for (const Row& row : rows) {
    SearchClock clock;
    clock.now = FakeNow;
    fakeNow = 0;
    SearchDeadline deadline(row.limits, &clock);
    int32_t depth = 1;
    for (int32_t end : row.ends) {
      fakeNow = end;
      deadline.iterationEnded(depth++);
    }
    EXPECT_EQ(deadline.mayStartIteration(depth), row.mayStart) << row.what;
  }
}

// Before every move: a search with a hard limit ends at the first look past it, or at a stop.
TEST(SearchDeadline, TheTreeEndsAtTheFirstLookPastTheHardLimit) {
  struct Row { const char* what; int32_t hardLimitMs, now; uint64_t nodes; bool stop, expired; };
  const Row rows[] = {
      {"no hard limit: only the progress reports see a stop", -1, 5000, 1024, true, false},
      {"before the limit", 1000, 999, 1024, false, false},
      {"at the limit", 1000, 1000, 2048, false, true},
      {"the clock is read every 1024 nodes", 1000, 5000, 1023, false, false},
      {"a stop ends it at once", 1000, 0, 1023, true, true},
  };
  for (const Row& row : rows) {
    SearchClock clock;
    clock.now = FakeNow;
    fakeNow = 0;
    SearchDeadline deadline({10.0, 100, 98, row.hardLimitMs}, &clock);
    fakeNow = row.now;
    clock.stop = row.stop;
    SCOPED_TRACE(row.what);
    EXPECT_EQ(deadline.expired(row.nodes), row.expired);
    EXPECT_EQ(deadline.cut(), row.expired || row.stop);
    // Once past the limit, every later move ends too.
    if (row.expired && !row.stop) { EXPECT_TRUE(deadline.expired(row.nodes + 1)); }
  }
}

}  // namespace
}  // namespace rq
