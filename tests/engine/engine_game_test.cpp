// The engine's game: moves checked against the rules, the answer it falls back to, and
// the time it gives a search.
#include <gtest/gtest.h>

#include "support/record_helpers.h"

#include "engine/engine_game.h"
#include "engine/engine_search.h"
#include "engine/time_budget.h"
#include "rules/notation.h"

namespace rq {
namespace {

using test::MoveOf;

// A quiet shuffle of two chariots (no check, nothing chased) and a chariot checking a
// general to and fro.
const char* const Shuffle = "r3k4/9/9/9/4p4/9/9/9/9/4K3R w - - 0 1";
const char* const Checking = "4k4/9/9/9/9/9/9/9/8R/3K5 w - - 0 1";

TEST(EngineGame, MovesAreJudgedByTheRules) {
  struct Row { const char* fen; std::vector<const char*> before; const char* move; bool ok; const char* error; };
  std::vector<const char*> shuffle, checking = {"i1i9"};
  for (int i = 0; i < 4; ++i) {
    for (const char* m : {"i0i1", "a9a8", "i1i0", "a8a9"}) shuffle.push_back(m);
    for (const char* m : {"e9e8", "i9i8", "e8e9", "i8i9"}) checking.push_back(m);
  }
  checking.resize(16);
  const Row rows[] = {
      {StartFen, {}, "h2e2", true, ""},
      {StartFen, {}, "h2h9", true, ""},                        // the cannon takes the horse over the screen
      {StartFen, {}, "h9g7", false, "not the side to move"},
      {StartFen, {}, "e4e5", false, "no piece on e4"},
      {StartFen, {}, "e3e5", false, "the piece cannot move there"},
      {StartFen, {}, "b0d1", false, "the piece cannot move there"},  // the horse's leg is blocked
      {StartFen, {}, "h2", false, "not a move in a0-i9 coordinates"},
      {StartFen, {}, "j2e2", false, "not a move in a0-i9 coordinates"},
      {"4k4/9/9/9/9/9/9/9/4R4/4K4 w - - 0 1", {}, "e1d1", false, "the generals would face each other"},
      {"4k4/9/9/9/9/9/9/9/4R4/4K4 w - - 0 1", {}, "e1e9", true, ""},       // taking the general is permitted
      {"4k4/9/9/9/9/9/9/9/4R4/4K4 w - - 0 1", {"e1e9"}, "e0e1", false, "the game is over"},
      {"3rk4/9/9/9/9/9/9/9/9/4K4 w - - 0 1", {}, "e0d0", true, ""},        // moving into check is allowed
      {"3rk4/9/9/9/9/9/9/9/9/4K4 w - - 0 1", {}, "e0e1", false, "the generals would face each other"},
      // The game's history is seen: the fifth time round a plain shuffle is a draw that may be
      // played, a checking one is perpetual check and is refused.
      {Shuffle, shuffle, "i0i1", true, ""},
      {Checking, checking, "i8i9", false, "perpetual check is not allowed"},
      {Checking, std::vector<const char*>(checking.begin(), checking.end() - 4), "i8i9", true, ""},
  };
  for (const Row& row : rows) {
    EngineGame game;
    std::string error;
    ASSERT_TRUE(SetUpGame(game, row.fen, error)) << row.fen;
    for (const char* m : row.before) ASSERT_TRUE(PlayMoveText(game, m, error)) << m << ": " << error;
    const int side = game.sideToMove;
    const size_t played = game.moves.size();
    error.clear();
    EXPECT_EQ(PlayMoveText(game, row.move, error), row.ok) << row.move << ": " << error;
    EXPECT_EQ(error, row.error) << row.move;
    EXPECT_EQ(game.moves.size(), played + (row.ok ? 1 : 0)) << row.move;
    EXPECT_EQ(game.sideToMove, row.ok ? 1 - side : side) << row.move;
    EXPECT_EQ(game.record->moveCount, static_cast<int32_t>(game.moves.size())) << row.move;
  }
}

TEST(EngineAnswer, FallsBackToAPermittedMove) {
  struct Row {
    const char* name;
    const char* fen;
    bool haveResult;
    const char* result;     // the search's move, or nullptr for a move off the board
    bool hasMove;
    const char* answer;     // nullptr: the search's own move stands
    bool fallback;
  };
  const Row rows[] = {
      {"a permitted result stands", StartFen, true, "h2e2", true, nullptr, false},
      {"no finished iteration", StartFen, false, "h2e2", true, "a3a4", true},
      {"a result off the board", StartFen, true, nullptr, true, "a3a4", true},
      {"a move the piece cannot make", StartFen, true, "a0a5", true, "a3a4", true},
      {"the other side's move", StartFen, true, "a9a8", true, "a3a4", true},
      {"a refused move", "3rk4/9/9/9/9/9/9/9/9/4K4 w - - 0 1", true, "e0e1", true, "e0f0", true},
      // d0 lies in the green chariot's file while f0 is safe.
      {"walking into an attack that a move avoids", "3rk4/9/9/9/9/9/9/9/9/4K4 w - - 0 1", true, "e0d0", true,
       "e0f0", true},
      // Every permitted move stays in the chariot's rank: the search's choice stands.
      {"no safe move at all", "4k4/9/9/9/9/9/9/9/9/r3K4 w - - 0 1", true, "e0d0", true, nullptr, false},
  };
  for (const Row& row : rows) {
    EngineGame game;
    std::string error;
    ASSERT_TRUE(SetUpGame(game, row.fen, error)) << row.name;
    SearchOutcome result;
    result.hasMove = true;
    if (row.result) result.move = MoveOf(row.result);
    else result.move.to = NoSquare;
    const SearchOutcome answer = ChooseMove(*game.record, game.sideToMove, row.haveResult, result);
    EXPECT_EQ(answer.hasMove, row.hasMove) << row.name;
    if (!row.hasMove) continue;
    EXPECT_EQ(FormatMove(answer.move), row.answer ? row.answer : row.result) << row.name;
    EXPECT_EQ(answer.fallback, row.fallback) << row.name;
  }

  // Once a general is gone nothing may be played.
  EngineGame over;
  std::string error;
  ASSERT_TRUE(SetUpGame(over, "4k4/9/9/9/9/9/9/9/4R4/3K5 w - - 0 1", error));
  ASSERT_TRUE(PlayMoveText(over, "e1e9", error));
  SearchOutcome result;
  result.hasMove = true;
  result.move = MoveOf("e9e8");
  EXPECT_FALSE(ChooseMove(*over.record, over.sideToMove, true, result).hasMove);
}

TEST(SearchPlan, BudgetsFollowTheRequest) {
  struct Row {
    const char* name;
    GoRequest request;
    int32_t level;
    int32_t maxDepth, firstTimedDepth, hardLimitMs;  // hardLimitMs -2: any value up to `hardAtMost`
    double thinkSeconds;
    int32_t hardAtMost;
    bool infinite;
  };
  auto req = [](int32_t depth, int64_t moveTime, int64_t remaining, int64_t increment, int32_t toGo, bool inf) {
    GoRequest q;
    q.depth = depth;
    q.moveTimeMs = moveTime;
    q.remainingMs = remaining;
    q.incrementMs = increment;
    q.movesToGo = toGo;
    q.infinite = inf;
    return q;
  };
  const Row rows[] = {
      {"the level alone, as in the game", req(0, -1, -1, 0, 0, false), 1, 98, 5, -1, 1.0, 0, false},
      {"the strongest level", req(0, -1, -1, 0, 0, false), 4, 98, 8, -1, 12.0, 0, false},
      {"depth only", req(6, -1, -1, 0, 0, false), 1, 6, 100, -1, 1.0, 0, false},
      {"a depth past the rules engine's slots", req(500, -1, -1, 0, 0, false), 1, 98, 100, -1, 1.0, 0, false},
      {"infinite", req(0, -1, -1, 0, 0, true), 1, 98, 100, -1, 1.0, 0, true},
      {"time per move", req(0, 1000, -1, 0, 0, false), 1, 98, 2, 940, 0.47, 0, false},
      {"a tiny time per move", req(0, 50, -1, 0, 0, false), 1, 98, 2, 25, 0.0125, 0, false},
      // A minute for the game: about a second a move, the level's pace kept.
      {"sudden death", req(0, -1, 60000, 0, 0, false), 1, 98, 5, -2, 1.0, 2000, false},
      {"sudden death, strongest level", req(0, -1, 60000, 0, 0, false), 4, 98, 8, -2, 1.138, 2000, false},
      {"last move before the control", req(0, -1, 10000, 0, 1, false), 4, 98, 8, -2, 4.164, 6000, false},
      {"little time left", req(0, -1, 300, 0, 0, false), 1, 98, 5, -2, 0.0, 100, false},
      {"nothing left", req(0, -1, 0, 0, 0, false), 1, 98, 5, 1, 0.0, 1, false},
      {"increment", req(0, -1, 2000, 1000, 0, false), 1, 98, 5, -2, 0.31, 700, false},
  };
  for (const Row& row : rows) {
    const SearchPlan p = PlanSearch(row.request, row.level);
    EXPECT_EQ(p.maxDepth, row.maxDepth) << row.name;
    EXPECT_EQ(p.firstTimedDepth, row.firstTimedDepth) << row.name;
    EXPECT_EQ(p.infinite, row.infinite) << row.name;
    if (row.hardLimitMs == -2) {
      EXPECT_GT(p.hardLimitMs, 0) << row.name;
      EXPECT_LE(p.hardLimitMs, row.hardAtMost) << row.name;
      // Every budget leaves most of the clock for the moves to come.
      EXPECT_LE(p.hardLimitMs, row.request.remainingMs * 0.6 + 1) << row.name;
      EXPECT_LE(p.thinkSeconds * 1000, p.hardLimitMs + 0.5) << row.name;
      if (row.thinkSeconds > 0) {
        EXPECT_NEAR(p.thinkSeconds, row.thinkSeconds, 0.01) << row.name;
      }
    } else {
      EXPECT_EQ(p.hardLimitMs, row.hardLimitMs) << row.name;
      EXPECT_NEAR(p.thinkSeconds, row.thinkSeconds, 1e-9) << row.name;
    }
  }
}

TEST(SearchPlan, AMinuteLastsALongGameWithoutIncrement) {
  // Every move spends its whole hard limit plus a round trip: the clock must still see
  // a long game through, at every level.
  for (int32_t level = 0; level <= 4; ++level) {
    int64_t remaining = 60000;
    int moves = 0;
    for (; moves < 120 && remaining > 0; ++moves) {
      GoRequest q;
      q.remainingMs = remaining;
      remaining -= PlanSearch(q, level).hardLimitMs + 60;
    }
    EXPECT_EQ(moves, 120) << "level " << level;
    EXPECT_GT(remaining, 0) << "level " << level;
  }
}

TEST(SearchPlan, NextIterationIsForeseenFromTheLastOnes) {
  struct Row { const char* name; int32_t ms[10]; int32_t lastDepth; int32_t expected; };
  const Row rows[] = {
      {"nothing finished yet", {}, 0, 0},
      {"early depths grow fivefold", {0, 0, 1, 3}, 3, 15},
      // Depth 8 of the opening takes fifty times depth 7: the two-ply growth from 4 to 6 tells.
      {"an expensive even depth follows a cheap odd one", {0, 0, 1, 3, 3, 12, 96, 98}, 7, 2 * 96 * 96 / 3},
      {"steady growth, with room to spare", {0, 1, 4, 16, 64, 256}, 5, 2 * 64 * 64 / 4},
      {"depths too quick to time count as a millisecond", {0, 0, 0, 0, 0, 0}, 5, 2},
  };
  for (const Row& row : rows) {
    int32_t ms[MaxSearchPly] = {};
    for (int d = 0; d < 10; ++d) ms[d] = row.ms[d];
    EXPECT_EQ(PredictNextIterationMs(ms, row.lastDepth), row.expected) << row.name;
  }
}

}  // namespace
}  // namespace rq
