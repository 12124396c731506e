// The engine's answer when the search gives nothing usable.
#include <gtest/gtest.h>

#include "engine/engine_search.h"
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

}  // namespace
}  // namespace rq
