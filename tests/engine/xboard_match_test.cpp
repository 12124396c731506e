// XBoard runs ravenquill-engine against MaxQi on a virtual display: every move accepted,
// every game finished, no game lost on time. The PGN and the logs stay in the build tree.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/child_process.h"

namespace rq {
namespace {

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Two games at `clock` (as the match script takes it); with `moveLimitMs`, every answer of ours
// must come within it of the move or "go" it answers, as XBoard's own log times them.
void PlayTwoGames(const std::string& dir, const std::string& clock, const char* maxMoves, int moveLimitMs) {
  const std::string out = std::string(RQ_MATCH_DIR) + "/" + dir;
  test::ChildProcess match({"/bin/bash", RQ_MATCH_SCRIPT, RQ_ENGINE_PATH, out, "2", clock, "2", maxMoves});
  ASSERT_TRUE(match.started());
  std::string line;
  while (match.readLine(line, 400000)) {}
  ASSERT_EQ(match.waitExit(10000), 0) << "see " << out << "/xboard.out";
  ASSERT_EQ(match.lines.size(), 2u);
  for (const std::string& game : match.lines) {
    std::istringstream words(game);
    std::string word, number, colour, result, reason;
    words >> word >> number >> colour >> result;
    std::getline(words, reason);
    EXPECT_TRUE(result == "1-0" || result == "0-1" || result == "1/2-1/2") << game;
    // A refused move, a crash or a lost clock of ours would show in XBoard's reason.
    const bool weLost = (result == "1-0" && colour == "black") || (result == "0-1" && colour == "red");
    for (const char* fault : {"illegal", "disconnect", "time"})
      EXPECT_FALSE(weLost && reason.find(fault) != std::string::npos) << game;
  }
  std::ifstream in(out + "/xboard.debug");
  int asked = -1, moves = 0, opponentMoves = 0, latest = 0;
  while (std::getline(in, line)) {
    // XBoard refuses a move by answering "Illegal move" to the engine that made it.
    EXPECT_EQ(line.find("llegal move"), std::string::npos) << line;
    const int at = std::atoi(line.c_str());
    if (line.find(">first : usermove") != std::string::npos || line.find(">first : go") != std::string::npos) asked = at;
    opponentMoves += line.find("<second: move ") != std::string::npos;
    if (line.find("<first : move ") == std::string::npos || asked < 0) continue;
    ++moves, latest = std::max(latest, at - asked), asked = -1;
  }
  EXPECT_GT(moves, 10);
  EXPECT_GT(opponentMoves, 10);
  if (moveLimitMs) EXPECT_LT(latest, moveLimitMs) << "the slowest answer, ms";
}

// Twenty seconds a side at level 2, and a draw after 60 moves each, keep the match short.
TEST(XboardMatch, TwoGamesOnAClockAgainstMaxQi) { PlayTwoGames("clock", "0:20", "60", 0); }

// A fixed second a move is a ceiling: the answer comes within it, even deep in the endgame.
TEST(XboardMatch, TwoGamesAtASecondAMoveAgainstMaxQi) { PlayTwoGames("second", "st=0:01", "60", 1000); }

}  // namespace
}  // namespace rq
