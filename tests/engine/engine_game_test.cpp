// The engine's answer when the search gives nothing usable, and the time it gives a search.
#include <gtest/gtest.h>

#include "engine/engine_search.h"
#include "engine/time_budget.h"
#include "rules/notation.h"
#include "support/record_helpers.h"

namespace rq {
namespace {

TEST(EngineAnswer, FallsBackToAPermittedMove) {
  // The search's move stands when `answer` repeats it; otherwise `answer` is the fallback.
  struct Row { const char* fen; bool haveResult; const char *result, *answer; };
  const char* const Chariot = "3rk4/9/9/9/9/9/9/9/9/4K4 w - - 0 1";  // d0 and the file e0-e9 are attacked
  const Row rows[] = {
      {StartFen, true, "h2e2", "h2e2"},     {StartFen, false, "h2e2", "a3a4"},  // no finished iteration
      {StartFen, true, nullptr, "a3a4"},    {StartFen, true, "a0a5", "a3a4"},   // off the board; impossible
      {Chariot, true, "e0e1", "e0f0"},      {Chariot, true, "e0d0", "e0f0"},    // refused; into an attack
      {"4k4/9/9/9/9/9/9/9/9/r3K4 w - - 0 1", true, "e0d0", "e0d0"},            // no safe move at all
  };
  for (const Row& row : rows) {
    EngineGame game;
    std::string error;
    ASSERT_TRUE(SetUpGame(game, row.fen, error)) << row.fen;
    SearchOutcome result{true, row.result ? test::MoveOf(row.result) : Move()};
    if (!row.result) result.move.to = NoSquare;
    const SearchOutcome answer = ChooseMove(*game.record, game.sideToMove, row.haveResult, result);
    EXPECT_EQ(FormatMove(answer.move), row.answer) << row.fen << " " << (row.result ? row.result : "-");
    EXPECT_EQ(answer.fallback, !row.result || std::string(row.answer) != row.result) << row.answer;
  }
}

TEST(SearchPlan, BudgetsFollowTheRequestAndTheClockLasts) {
  // Request: depth, time per move, clock, increment, moves to go. hardAtMost -1: no hard limit.
  struct Row { GoRequest q; int32_t maxDepth, firstTimedDepth, hardAtMost; };
  const Row rows[] = {
      {{0, -1, -1}, 98, 5, -1},      {{500, -1, -1}, 98, 100, -1},        // the level alone; a depth past the slots
      {{0, 1000, -1}, 98, 2, 890},   {{0, 50, -1}, 98, 2, 25},            // time per move keeps a round trip
      {{0, -1, 60000}, 98, 5, 2000}, {{0, -1, 10000, 0, 1}, 98, 5, 6000},  // sudden death; last move to the control
      {{0, -1, 0}, 98, 5, 1},        {{0, -1, 2000, 1000}, 98, 5, 700},    // nothing left; increment
  };
  for (const Row& row : rows) {
    const SearchPlan p = PlanSearch(row.q, 1);
    SCOPED_TRACE(std::to_string(row.q.moveTimeMs) + " " + std::to_string(row.q.remainingMs));
    EXPECT_TRUE(p.maxDepth == row.maxDepth && p.firstTimedDepth == row.firstTimedDepth) << p.maxDepth << " " << p.firstTimedDepth;
    EXPECT_TRUE((p.hardLimitMs < 0) == (row.hardAtMost < 0) && p.hardLimitMs <= row.hardAtMost) << p.hardLimitMs;
    // No iteration starts that the hard limit leaves no room for, and the clock is never spent in one move.
    if (row.hardAtMost > 0) { EXPECT_LE(p.thinkSeconds * 1000, p.hardLimitMs + 0.5); }
    if (row.q.remainingMs > 0) { EXPECT_LE(p.hardLimitMs, row.q.remainingMs * 0.6); }
  }
  EXPECT_TRUE(PlanSearch(GoRequest{0, -1, -1, 0, 0, true}, 1).infinite);
  // A minute without increment lasts a long game: every move spends its whole hard limit plus a round
  // trip, and the clock still sees 120 moves through.
  for (int32_t level = 0; level <= 4; ++level) {
    int64_t remaining = 60000;
    for (int moves = 0; moves < 120; ++moves) remaining -= PlanSearch(GoRequest{0, -1, remaining}, level).hardLimitMs + 60;
    EXPECT_GT(remaining, 0) << "level " << level;
  }
}

}  // namespace
}  // namespace rq
