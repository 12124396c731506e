// Scripted conversations with the engine in both protocols; the search runs on its thread.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/engine.h"
#include "rules/notation.h"

namespace rq {
namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

// An in-process engine whose output lines are caught.
struct EngineUnderTest {
  std::mutex mutex;
  std::vector<std::string> lines;
  std::unique_ptr<Engine> engine = std::make_unique<Engine>();
  bool quit = false;

  EngineUnderTest() {
    engine->output.context = this;
    engine->output.write = [](void* context, const std::string& line) {
      auto* self = static_cast<EngineUnderTest*>(context);
      std::lock_guard<std::mutex> hold(self->mutex);
      self->lines.push_back(line);
    };
  }
  ~EngineUnderTest() { ShutDownEngine(*engine); }
  void send(const std::string& line) { quit |= !HandleEngineLine(*engine, line); }
  // Index of the first line from `from` on that starts with `prefix`, or -1 after `timeoutMs`.
  int waitFor(const std::string& prefix, size_t from = 0, int timeoutMs = 30000) {
    for (const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);;) {
      {
        std::lock_guard<std::mutex> hold(mutex);
        for (size_t i = from; i < lines.size(); ++i)
          if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
      }
      if (Clock::now() >= end) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  // The move of the last line that starts with `prefix` ("bestmove ", "move "), or "".
  std::string lastMove(const std::string& prefix) {
    std::lock_guard<std::mutex> hold(mutex);
    std::string move;
    for (const std::string& line : lines)
      if (line.rfind(prefix, 0) == 0) move = line.substr(prefix.size(), 4);
    return move;
  }
};

// Whether `text` is a move the rules permit after `moves` from `fen`.
bool PermittedAfter(const std::string& fen, const std::vector<std::string>& moves, const std::string& text) {
  EngineGame game;
  std::string error;
  bool ok = SetUpGame(game, fen, error);
  for (const std::string& m : moves) ok = ok && PlayMoveText(game, m, error);
  return ok && PlayMoveText(game, text, error);
}

const std::string Midgame = "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1";

TEST(EngineConversation, AnswersEveryScriptedExchange) {
  // ">text" is sent, "<prefix" must come back after the line last matched, "!prefix" must
  // not have come back; the last move answered must be permitted after `moves` from `fen`.
  struct Row { std::vector<std::string> steps; std::string fen; std::vector<std::string> moves; const char* answer; };
  const Row rows[] = {
      {{">uci", "<id name Ravenquill", "<option name Difficulty type spin default 1 min 0 max 4", "<uciok", ">isready",
        "<readyok", ">position fen 4k4/9/9/9/9/9/9/9/4R4/3K5 w - - 0 1 moves e1e9", ">go depth 3",
        "<info string the game is over", "<bestmove (none)"}, "", {}, nullptr},
      {{">position startpos moves h2e2 h9g7", ">go depth 3", "<info depth 1 score cp ", "<info depth 3 ", "<bestmove ",
        "!info depth 4"}, StartFen, {"h2e2", "h9g7"}, "bestmove "},
      {{">position startpos moves h7e7", "<info string illegal move h7e7 (not the side to move)",
        ">position fen " + Midgame + " moves f3f8 e2e9 h9g7", "<info string illegal move e2e9", ">position fen 9/9 w",
        "<info string bad FEN", ">position", "<info string position needs", ">go depth 2", "<bestmove "},
       Midgame, {"f3f8"}, "bestmove "},
      {{">uci", ">frobnicate now", "<info string unknown command: frobnicate now", ">go depth x",
        "<info string bad value for depth", "<bestmove ", ">setoption name Hash value 16", "<info string unknown option",
        ">setoption name Difficulty value 0", ">go", "<info depth 3 ", "<bestmove "}, StartFen, {}, "bestmove "},
      // The engine's own move enters its game, or the user's next move would be refused.
      {{">xboard", ">protover 2", "<feature myname=\"Ravenquill", "<feature option=\"Difficulty -spin 1 0 4\"",
        "<feature done=1", ">ping 7", "<pong 7", ">new", ">level 40 0:20 0", ">time 2000", ">otim 2000", ">post",
        ">usermove h2e2", "<1 ", "<move ", ">sd 2", ">b0c2", "<move ", "!Illegal"}, "", {}, nullptr},
      {{">xboard", ">new", ">force", ">setboard " + Midgame, ">post", ">sd 2", ">go", "<1 ", "<2 ", "<move ", "!3 "},
       Midgame, {}, "move "},
      {{">xboard", ">new", ">force", ">usermove e3e5", "<Illegal move (the piece cannot move there): e3e5", ">usermove z9",
        "<Illegal move (not a move", ">setboard 9/9/9 w", "<Error (bad FEN: ", ">frobnicate", "<Error (unknown command)",
        ">sd deep", "<Error (bad argument): sd", ">usermove h2e2", ">usermove h9g7", ">usermove b0c2", ">remove",
        ">undo", ">undo", "<Error (no move to take back)", ">usermove b2e2", ">sd 2", ">go", "<move "},
       StartFen, {"b2e2"}, "move "},
      {{">xboard", ">new", ">st 30", ">usermove h2e2", ">result 1-0 {Red resigns}", ">ping 9", "<pong 9", "!move "},
       "", {}, nullptr},
  };
  for (const Row& row : rows) {
    EngineUnderTest e;
    size_t next = 0;
    for (const std::string& step : row.steps) {
      if (step[0] == '>') e.send(step.substr(1));
      const int at = step[0] == '<' ? e.waitFor(step.substr(1), next) : -1;
      ASSERT_TRUE(step[0] != '<' || at >= 0) << row.steps[0] << ": no \"" << step << "\" after line " << next;
      if (step[0] == '<') next = static_cast<size_t>(at) + 1;
      if (step[0] == '!') EXPECT_LT(e.waitFor(step.substr(1), 0, 0), 0) << row.steps[0] << ": " << step;
    }
    if (row.answer) EXPECT_TRUE(PermittedAfter(row.fen, row.moves, e.lastMove(row.answer))) << row.steps[0];
  }
}

// Stops answer at once, and a fixed time per move is a ceiling, even where the next
// iteration would run far past it; each answer is green's reply to h2e2.
TEST(EngineConversation, StopsAndTimeLimitsAreKept) {
  struct Row { std::vector<std::string> setup; const char* reached; std::string command; const char* answer; int limitMs; };
  const Row rows[] = {
      {{"position startpos moves h2e2", "go infinite"}, "info depth 5", "stop", "bestmove ", 3000},
      {{"position startpos moves h2e2", "go infinite"}, "info depth 3", "quit", nullptr, 3000},
      {{"xboard", "new", "st 100", "post", "usermove h2e2"}, "5 ", "?", "move ", 3000},
      {{"xboard", "new", "st 100", "post", "usermove h2e2"}, "5 ", "force", nullptr, 3000},
      {{"position startpos moves h2e2"}, nullptr, "go movetime 1000", "bestmove ", 1000},
      {{"xboard", "new", "force", "usermove h2e2", "st 1"}, nullptr, "go", "move ", 1000},
      {{"position startpos moves h2e2"}, nullptr, "go wtime 900 btime 900", "bestmove ", 300},
      // Green's own short clock counts, not red's long one.
      {{"position startpos moves h2e2"}, nullptr, "go wtime 600000 btime 900 movestogo 1", "bestmove ", 500},
  };
  for (const Row& row : rows) {
    EngineUnderTest e;
    for (const std::string& line : row.setup) e.send(line);
    // From the deep iterations on, where one piece's moves take longest.
    if (row.reached) ASSERT_GE(e.waitFor(row.reached), 0) << row.command;
    const auto start = Clock::now();
    e.send(row.command);
    if (row.answer) ASSERT_GE(e.waitFor(row.answer), 0) << row.command;
    EXPECT_LT(MsSince(start), row.limitMs) << row.command;
    EXPECT_EQ(e.quit, row.command == "quit");
    if (row.answer) EXPECT_TRUE(PermittedAfter(StartFen, {"h2e2"}, e.lastMove(row.answer))) << row.command;
    else EXPECT_FALSE(SearchRunning(e.engine->search)) << row.command;
    // Force takes the engine off the move: the cut search answers nothing.
    if (row.command == "force") EXPECT_EQ(e.lastMove("move "), "");
  }
}

}  // namespace
}  // namespace rq
