// The engine's answer when the search gives nothing usable.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/engine_search.h"
#include "rules/notation.h"
#include "support/record_helpers.h"

namespace rq {
namespace {

TEST(EngineAnswer, FallsBackToAPermittedMove) {
  // The search's move stands when `answer` repeats it; otherwise `answer` is the fallback, never a banned move.
  struct Row { const char* fen; bool haveResult; const char *result, *answer, *banned = nullptr; };
  const char* const Chariot = "3rk4/9/9/9/9/9/9/9/9/4K4 w - - 0 1";  // d0 and the file e0-e9 are attacked
  const Row rows[] = {
      {StartFen, true, "h2e2", "h2e2"},     {StartFen, false, "h2e2", "a3a4"},  // no finished iteration
      {StartFen, true, nullptr, "a3a4"},    {StartFen, true, "a0a5", "a3a4"},   // off the board; impossible
      {Chariot, true, "e0e1", "e0f0"},      {Chariot, true, "e0d0", "e0f0"},    // refused; into an attack
      {"4k4/9/9/9/9/9/9/9/9/r3K4 w - - 0 1", true, "e0d0", "e0d0"},            // no safe move at all
      {StartFen, true, "h2e2", "a3a4", "h2e2"}, {StartFen, false, "h2e2", "c3c4", "a3a4"},  // banned by the GUI
  };
  for (const Row& row : rows) {
    EngineGame game;
    std::string error;
    ASSERT_TRUE(SetUpGame(game, row.fen, error)) << row.fen;
    SearchOutcome result{true, row.result ? test::MoveOf(row.result) : Move()};
    if (!row.result) result.move.to = NoSquare;
    RootMoveRules::List banned;
    if (row.banned) banned.add(test::MoveOf(row.banned).from, test::MoveOf(row.banned).to);
    const SearchOutcome answer = ChooseMove(*game.record, game.sideToMove, row.haveResult, result, &banned);
    EXPECT_EQ(FormatMove(answer.move), row.answer) << row.fen << " " << (row.result ? row.result : "-");
    EXPECT_EQ(answer.fallback, !row.result || std::string(row.answer) != row.result) << row.answer;
  }
}

TEST(EngineGame, FindsTheRepetitionsAnotherProgramJudgesLost) {
  // From `fen`, after `moves`: the side to move's moves that would repeat a position a third time while it
  // alone checked (or chased) all along.
  struct Row { const char* what; const char* fen; const char* moves; const char* lost; };
  const char* const Checks = "4k4/R8/9/9/9/9/9/4p4/9/3K5 w - - 0 1";  // a8a9 and a9a8 check the general
  const char* const Chases = "4k4/9/9/9/9/9/R1n6/9/9/5K3 b - - 0 1";   // the chariot follows the horse on red's half
  const Row rows[] = {
      {"a third time of the same checks", Checks, "a8a9 e9e8 a9a8 e8e9 a8a9 e9e8 a9a8 e8e9", "a8a9"},
      {"a second time", Checks, "a8a9 e9e8 a9a8 e8e9", ""},
      {"a third time of the same chases", Chases, "c3b1 a3a1 b1c3 a1a3 c3b1 a3a1 b1c3", "a1a3"},
      {"no earlier moves", Checks, "", ""},
      // Every other move of the chariot checks, not every one.
      {"checks now and then", "3k5/R8/9/9/9/9/9/4p4/9/4K4 w - - 0 1",
       "a8a7 d9d8 a7a8 d8d9 a8a7 d9d8 a7a8 d8d9", ""},
  };
  for (const Row& row : rows) {
    EngineGame game;
    std::string error;
    ASSERT_TRUE(SetUpGame(game, row.fen, error)) << row.what;
    std::istringstream moves(row.moves);
    for (std::string m; moves >> m;) ASSERT_TRUE(PlayMoveText(game, m, error)) << row.what << ": " << m << " " << error;
    RootMoveRules::List lost;
    FindAdjudicatedRepetitions(game, lost);
    std::string found;
    for (int i = 0; i < lost.count; ++i) found += (found.empty() ? "" : " ") + FormatMove(lost.from[i], lost.to[i]);
    EXPECT_EQ(found, row.lost) << row.what;
  }
}

TEST(EngineGame, TakesTheHostsRepetitionsAndRefusesTheRest) {
  // The program that sends the moves judges repetitions by its own rules; refusing a move it allows
  // loses the game to a false illegal-move claim. Every rule besides repetition still holds.
  struct Row { const char* what; const char* fen; const char* moves; const char* refused; };
  const Row rows[] = {
      {"a fifth cycle of checks", "4k4/R8/9/9/9/9/9/4p4/9/3K5 w - - 0 1",
       "a8a9 e9e8 a9a8 e8e9 a8a9 e9e8 a9a8 e8e9 a8a9 e9e8 a9a8 e8e9 a8a9 e9e8 a9a8 e8e9 a8a9 e9e8 a9a8 e8e9", ""},
      {"a fifth cycle of chases", "4k4/9/9/9/9/9/R1n6/9/9/5K3 b - - 0 1",
       "c3b1 a3a1 b1c3 a1a3 c3b1 a3a1 b1c3 a1a3 c3b1 a3a1 b1c3 a1a3 c3b1 a3a1 b1c3 a1a3 c3b1 a3a1 b1c3 a1a3", ""},
      {"an evasion that chases", test::HostedChaseStart, test::HostedChaseGame, ""},
      {"facing generals", "4k4/9/9/9/9/9/9/9/9/3K5 w - - 0 1", "d0e0", "d0e0"},
  };
  for (const Row& row : rows) {
    EngineGame game;
    std::string error;
    ASSERT_TRUE(SetUpGame(game, row.fen, error)) << row.what;
    std::istringstream moves(row.moves);
    std::string refused;
    for (std::string m; refused.empty() && moves >> m;)
      if (!PlayMoveText(game, m, error)) refused = m;
    EXPECT_EQ(refused, row.refused) << row.what << ": " << error;
  }
}

}  // namespace
}  // namespace rq
