// The real program over its standard input and output.
#include <gtest/gtest.h>

#include "engine/engine_game.h"
#include "support/child_process.h"

namespace rq {
namespace {

TEST(EngineProcess, ConversationsOverStandardInputAndOutput) {
  // ">text" is sent, "<prefix" must start a later line; the run ends by quitting or, with
  // `closeInput`, by the input closed under a running search, as a GUI that goes away leaves it.
  struct Row { std::vector<std::string> steps; bool closeInput; };
  const Row rows[] = {
      {{">uci", "<uciok", ">position startpos moves h2e2", ">go depth 4", "<info depth 4 ", "<bestmove ",
        ">go infinite", ">isready", "<readyok", ">stop", "<bestmove ", ">quit"}, false},
      {{">xboard", ">protover 2", "<feature done=1", ">new", ">usermove h2e2", "<move ", ">ping 5", "<pong 5", ">quit"}, false},
      {{">uci", "<uciok", ">position startpos moves h2e2", ">go infinite"}, true},
  };
  for (const Row& row : rows) {
    test::ChildProcess engine({RQ_ENGINE_PATH});
    ASSERT_TRUE(engine.started());
    std::string line, error;
    for (const std::string& step : row.steps)
      ASSERT_TRUE(step[0] == '>' ? engine.send(step.substr(1)) : engine.waitFor(step.substr(1), line)) << step;
    if (row.closeInput) engine.closeInput();
    EXPECT_EQ(engine.waitExit(5000), 0) << row.steps[0];
    // Every answer is a move green may make after h2e2.
    for (const std::string& l : engine.lines) {
      EngineGame game;
      if (l.rfind("move ", 0) == 0 || l.rfind("bestmove ", 0) == 0)
        EXPECT_TRUE(PlayMoveText(game, "h2e2", error) && PlayMoveText(game, l.substr(l.find(' ') + 1, 4), error)) << l;
    }
  }
}

}  // namespace
}  // namespace rq
