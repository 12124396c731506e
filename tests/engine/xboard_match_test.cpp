// XBoard runs ravenquill-engine against MaxQi on a virtual display: every move accepted,
// every game finished. The PGN stays in the build tree.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "child_process.h"

namespace rq {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(XboardMatch, TwoShortGamesAgainstMaxQiEndWithResults) {
  const std::string out = RQ_MATCH_DIR;
  // Level 0, twenty seconds a side, and a draw after 60 moves each keep the match short.
  test::ChildProcess match({"/bin/bash", RQ_MATCH_SCRIPT, RQ_ENGINE_PATH, out, "2", "0:20", "0", "60"});
  ASSERT_TRUE(match.started());
  std::string line;
  std::vector<std::string> games;
  while (match.readLine(line, 150000)) games.push_back(line);
  ASSERT_EQ(match.waitExit(10000), 0) << "see " << out << "/xboard.out";

  const std::string pgn = ReadFile(out + "/match.pgn");
  const std::string log = ReadFile(out + "/xboard.debug");
  ASSERT_EQ(games.size(), 2u) << pgn;
  EXPECT_EQ(Count(pgn, "[Variant \"xiangqi\"]"), 2u);
  for (const std::string& g : games) {
    SCOPED_TRACE(g);
    std::istringstream words(g);
    std::string word, number, colour, result;
    words >> word >> number >> colour >> result;
    std::string reason;
    std::getline(words, reason);
    EXPECT_TRUE(result == "1-0" || result == "0-1" || result == "1/2-1/2");
    // A refused move, a crash or a lost clock of ours would show in XBoard's reason.
    const bool weLost = (result == "1-0" && colour == "black") || (result == "0-1" && colour == "red");
    EXPECT_EQ(reason.find("illegal"), std::string::npos);
    EXPECT_EQ(reason.find("disconnect"), std::string::npos);
    if (weLost) {
      EXPECT_EQ(reason.find("time"), std::string::npos);
    }
  }
  // XBoard refuses a move by answering "Illegal move" to the engine that made it.
  EXPECT_EQ(Count(log, "Illegal move"), 0u);
  EXPECT_EQ(Count(log, "illegal move"), 0u);
  // Both engines moved; ours answered every "usermove" or "go" it was given.
  EXPECT_GT(Count(log, "<first : move "), 10u);
  EXPECT_GT(Count(log, "<second: move "), 10u);
}

}  // namespace
}  // namespace rq
