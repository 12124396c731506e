// The real program over its standard input and output, in both protocols.
#include <gtest/gtest.h>

#include "child_process.h"
#include "engine/engine_game.h"
#include "rules/notation.h"

namespace rq {
namespace {

struct Exchange {
  const char* name;
  // ">text" is sent, "<prefix" must be the start of a later line.
  std::vector<std::string> steps;
  bool closeInput;  // end by closing standard input instead of quitting
  const char* answer;               // the first answer of this kind ...
  std::vector<std::string> before;  // ... must be permitted after these moves
};

bool Permitted(const std::vector<std::string>& moves) {
  EngineGame game;
  std::string error;
  for (const std::string& m : moves)
    if (!PlayMoveText(game, m, error)) return false;
  return true;
}

TEST(EngineProcess, ConversationsOverStandardInputAndOutput) {
  const Exchange rows[] = {
      {"uci",
       {">uci", "<id name Ravenquill", "<uciok", ">isready", "<readyok", ">ucinewgame",
        ">position startpos moves h2e2 h9g7 h0g2", ">go depth 4", "<info depth 4 ", "<bestmove ",
        ">position startpos moves h2e2 h2h3", "<info string illegal move h2h3", ">position fen 9/9 w",
        "<info string bad FEN", ">go movetime 300", "<bestmove ", ">go infinite", ">isready", "<readyok", ">stop",
        "<bestmove ", ">quit"},
       false, "bestmove ", {"h2e2", "h9g7", "h0g2"}},
      {"xboard",
       {">xboard", ">protover 2", "<feature done=1", ">new", ">variant xiangqi", ">level 0 0:30 0", ">time 3000",
        ">otim 3000", ">usermove h2e2", "<move ", ">ping 5", "<pong 5", ">usermove a0a5",
        "<Illegal move (the piece cannot move there): a0a5", ">setboard rnbak w", "<Error (bad FEN", ">quit"},
       false, "move ", {"h2e2"}},
      {"input closed while searching", {">uci", "<uciok", ">position startpos", ">go infinite"}, true, nullptr, {}},
  };
  for (const Exchange& row : rows) {
    test::ChildProcess engine({RQ_ENGINE_PATH});
    ASSERT_TRUE(engine.started()) << row.name;
    std::string line;
    for (const std::string& step : row.steps) {
      if (step[0] == '>') {
        ASSERT_TRUE(engine.send(step.substr(1))) << row.name << ": " << step;
      } else {
        ASSERT_TRUE(engine.waitFor(step.substr(1), line)) << row.name << ": no " << step;
      }
    }
    if (row.closeInput) engine.closeInput();
    EXPECT_EQ(engine.waitExit(5000), 0) << row.name;
    for (const std::string& l : engine.lines) EXPECT_NE(l, "bestmove (none)") << row.name;
    if (!row.answer) continue;
    std::string answer;
    for (const std::string& l : engine.lines)
      if (answer.empty() && l.rfind(row.answer, 0) == 0) answer = l.substr(std::string(row.answer).size());
    std::vector<std::string> moves = row.before;
    moves.push_back(answer);
    EXPECT_TRUE(Permitted(moves)) << row.name << ": " << answer;
  }
}

}  // namespace
}  // namespace rq
