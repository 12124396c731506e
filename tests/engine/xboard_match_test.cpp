// The real program over pipes, and XBoard running it against MaxQi on a virtual display:
// every move accepted, every game finished, none lost on time. The logs stay in the build tree.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/engine_game.h"
#include "support/processes.h"

namespace rq {
namespace {

TEST(EngineProcess, ConversationsOverStandardInputAndOutput) {
  // ">text" is sent, "<prefix" must start a later line; the run ends by quitting or else by the input
  // closed under a running search, as a GUI that goes away leaves it.
  const std::vector<std::string> rows[] = {
      {">uci", "<uciok", ">position startpos moves h2e2", ">go depth 4", "<info depth 4 ", "<bestmove ", ">go infinite",
       ">isready", "<readyok", ">stop", "<bestmove ", ">quit"},
      {">uci", "<uciok", ">position startpos moves h2e2", ">go infinite"},
  };
  for (const auto& steps : rows) {
    test::ChildProcess engine({RQ_ENGINE_PATH});
    ASSERT_TRUE(engine.started());
    std::string line, error;
    for (const std::string& step : steps)
      ASSERT_TRUE(step[0] == '>' ? engine.send(step.substr(1)) : engine.waitFor(step.substr(1), line)) << step;
    if (steps.back() != ">quit") engine.closeInput();
    EXPECT_EQ(engine.waitExit(5000), 0) << steps.back();
    for (const std::string& l : engine.lines) {  // every answer is a move green may make after h2e2
      EngineGame game;
      if (l.rfind("bestmove ", 0) != 0) continue;
      EXPECT_TRUE(PlayMoveText(game, "h2e2", error)) << l;
      EXPECT_TRUE(PlayMoveText(game, l.substr(9, 4), error)) << l;
    }
  }
}

// Two games at `clock` (as the match script takes it), drawn after `moves` moves each, XBoard speaking
// to the engine in `protocol` (xboard, or uci and ucci through uci2wb); with `moveLimitMs`, every answer
// of ours comes within it of its "usermove" or "go" in XBoard's log.
void PlayTwoGames(const std::string& dir, const std::string& clock, const char* level, int moveLimitMs,
                  const std::string& protocol = "xboard", const char* moves = "60") {
  const std::string out = std::string(RQ_MATCH_DIR) + "/" + dir;
  test::ChildProcess match({"/usr/bin/env", "PROTOCOL=" + protocol, "/bin/bash", RQ_MATCH_SCRIPT, RQ_ENGINE_PATH, out,
                            "2", clock, level, moves});
  ASSERT_TRUE(match.started());
  std::string line;
  while (match.readLine(line, 400000)) {}
  ASSERT_EQ(match.waitExit(10000), 0) << "see " << out << "/xboard.out";
  ASSERT_EQ(match.lines.size(), 2u);
  for (const std::string& game : match.lines) {
    // "game N COLOUR RESULT REASON": a refused move, a crash or a lost clock of ours shows in the reason.
    std::istringstream words(game);
    std::string word, number, colour, result, reason;
    std::getline(words >> word >> number >> colour >> result, reason);
    EXPECT_TRUE(result == "1-0" || result == "0-1" || result == "1/2-1/2") << game;
    const bool weLost = (result == "1-0" && colour == "black") || (result == "0-1" && colour == "red");
    for (const char* fault : {"illegal", "disconnect", "time"})
      EXPECT_FALSE(weLost && reason.find(fault) != std::string::npos) << game;
  }
  std::ifstream in(out + "/xboard.debug");
  int asked = -1, ourMoves = 0, opponentMoves = 0, latest = 0;
  bool handshake = protocol == "xboard";
  while (std::getline(in, line)) {
    // XBoard refuses a move by answering "Illegal move" to the engine that made it.
    EXPECT_EQ(line.find("llegal move"), std::string::npos) << line;
    // uci2wb logs the engine's own lines: it refused nothing the adapter sent.
    for (const char* refusal : {"info string unknown", "info string illegal", "info string bad", "info string position"})
      EXPECT_EQ(line.find(refusal), std::string::npos) << line;
    handshake |= line.find("engine said: " + protocol + "ok") != std::string::npos;
    const int at = std::atoi(line.c_str());
    if (line.find(">first : usermove") != std::string::npos || line.find(">first : go") != std::string::npos) asked = at;
    opponentMoves += line.find("<second: move ") != std::string::npos;
    if (line.find("<first : move ") == std::string::npos || asked < 0) continue;
    ++ourMoves;
    latest = std::max(latest, at - asked);
    asked = -1;
  }
  EXPECT_TRUE(handshake) << "no " << protocol << "ok in " << out << "/xboard.debug";
  EXPECT_TRUE(ourMoves > 10 && opponentMoves > 10) << ourMoves << " " << opponentMoves;
  if (moveLimitMs) { EXPECT_LT(latest, moveLimitMs) << "the slowest answer, ms"; }
}

// Twenty seconds a side at level 0 keep the match short; a fixed second a move, at level 2, is a
// ceiling even deep in the endgame.
TEST(XboardMatch, TwoGamesOnAClockAgainstMaxQi) { PlayTwoGames("clock", "0:20", "0", 0); }
TEST(XboardMatch, TwoGamesAtASecondAMoveAgainstMaxQi) { PlayTwoGames("second", "st=0:01", "2", 1000); }
// Through Debian's adapter uci2wb, as XBoard's -fUCI and -fUCCI run engines of the Chinese protocols (in
// UCI, the Cyclone dialect's "fen ... r moves ..."); thirty moves a game are enough to see every exchange.
TEST(XboardMatch, TwoGamesInUciThroughUci2wb) { PlayTwoGames("uci2wb-uci", "0:20", "0", 0, "uci", "30"); }
TEST(XboardMatch, TwoGamesInUcciThroughUci2wb) { PlayTwoGames("uci2wb-ucci", "0:20", "0", 0, "ucci", "30"); }

}  // namespace
}  // namespace rq
