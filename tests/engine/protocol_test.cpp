// Scripted conversations with the engine in both protocols; the search runs on its thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/engine.h"
#include "rules/notation.h"
#include "support/record_helpers.h"

namespace rq {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// An in-process engine whose output lines are caught.
struct EngineUnderTest {
  std::mutex mutex;
  std::vector<std::string> lines;
  std::unique_ptr<Engine> engine = std::make_unique<Engine>();
  bool quit = false;

  EngineUnderTest() {
    engine->output.context = this;
    engine->output.write = [](void* self, const std::string& line) {
      std::lock_guard<std::mutex> hold(static_cast<EngineUnderTest*>(self)->mutex);
      static_cast<EngineUnderTest*>(self)->lines.push_back(line);
    };
  }
  ~EngineUnderTest() { ShutDownEngine(*engine); }
  void send(const std::string& line) { quit |= !HandleEngineLine(*engine, line); }
  // Index of the first line from `from` on that starts with `prefix`, or -1 after `timeoutMs`.
  int waitFor(const std::string& prefix, size_t from = 0, int timeoutMs = 30000) {
    for (const auto end = Clock::now() + milliseconds(timeoutMs);; std::this_thread::sleep_for(milliseconds(1))) {
      std::lock_guard<std::mutex> hold(mutex);
      for (size_t i = from; i < lines.size(); ++i)
        if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
      if (Clock::now() >= end) return -1;
    }
  }
  std::string line(int i) {
    std::lock_guard<std::mutex> hold(mutex);
    return lines[static_cast<size_t>(i)];
  }
};

// The index of the last thinking line before line `end`, or -1.
int LastThinking(EngineUnderTest& e, size_t end) {
  int last = -1;
  for (size_t from = 0;;) {
    const int at = e.waitFor("info depth", from, 0);
    if (at < 0 || static_cast<size_t>(at) >= end) return last;
    last = at;
    from = static_cast<size_t>(at) + 1;
  }
}

const std::string Midgame = "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1";
// Red's chariot on a8 has checked the green general up and down twice: a8a9 would check it into
// the same position a third time, another move is as good within a soldier.
const std::string Checking = "4k4/R8/9/9/9/9/9/4p4/9/3K5 w - - 0 1";
const std::vector<std::string> TwoChecks = {"a8a9", "e9e8", "a9a8", "e8e9", "a8a9", "e9e8", "a9a8", "e8e9"};
// Both chariots have shuttled four times: a0a1 again ends the game drawn by repetition.
const std::string Shuttling = "4k3r/9/9/9/9/9/2P1P4/9/9/R2K5 w - - 0 1";
const std::vector<std::string> FourShuttles = {"a0a1", "i9i8", "a1a0", "i8i9", "a0a1", "i9i8", "a1a0", "i8i9",
                                               "a0a1", "i9i8", "a1a0", "i8i9", "a0a1", "i9i8", "a1a0", "i8i9"};

// The moves as a protocol's list: " m1 m2 ...".
std::string Joined(const std::vector<std::string>& moves) {
  std::string text;
  for (const std::string& m : moves) text += " " + m;
  return text;
}

TEST(EngineConversation, AnswersEveryScriptedExchange) {
  // ">text" is sent, "<prefix" must come back after the line last matched, "!prefix" must not have come
  // back, "@ms": within that time of the last line sent, "~": no search running, "^": the last line of
  // thinking before the answer begins its line with the move answered; with a `fen`, the last move
  // answered must be permitted after `moves` from it.
  struct Row { std::vector<std::string> steps; std::string fen; std::vector<std::string> moves; };
  const std::vector<std::string> AfterH2e2 = {"h2e2"};
  const std::string H2e2 = ">position startpos moves h2e2";
  const Row rows[] = {
      {{">uci", "<id name Ravenquill", "<option name Difficulty type spin default 1 min 0 max 7", "<uciok", ">isready",
        "<readyok", ">position fen 4k4/9/9/9/9/9/9/9/4R4/3K5 w - - 0 1 moves e1e9", ">go depth 3",
        "<info string the game is over", "<bestmove (none)", ">position fen 4k4/9/9/9/9/9/9/9/4R4/3K5 w - - 0 1",
        ">go depth 2", "<info depth 2 score mate 1 ", "<bestmove e1e9"}, "", {}},
      {{">position startpos moves h2e2 h9g7", ">go depth 3", "<info depth 1 score cp ", "<info depth 3 ", "<bestmove ",
        "!info depth 4"}, StartFen, {"h2e2", "h9g7"}},
      {{">position startpos moves h7e7", "<info string illegal move h7e7 (not the side to move)",
        ">position fen " + Midgame + " moves f3f8 e2e9 h9g7", "<info string illegal move e2e9", ">position fen 9/9 w",
        "<info string bad FEN", ">position", "<info string position needs", ">go depth 2", "<bestmove "},
       Midgame, {"f3f8"}},
      {{">uci", ">frobnicate now", "<info string unknown command: frobnicate now", ">go depth x",
        "<info string bad value for depth", "<bestmove ", ">setoption name Hash value 16", "<info string unknown option",
        ">setoption name Difficulty value 0", ">go", "<info depth 3 ", "<bestmove "}, StartFen, {}},
      // The engine's own move enters its game, or the user's next move would be refused.
      {{">xboard", ">protover 2", "<feature myname=\"Ravenquill", "<feature option=\"Difficulty -spin 1 0 7\"",
        "<feature done=1", ">ping 7", "<pong 7", ">new", ">level 40 0:20 0", ">time 2000", ">otim 2000", ">post",
        ">usermove h2e2", "<1 ", "<move ", ">sd 2", ">b0c2", "<move ", "!Illegal"}, "", {}},
      {{">xboard", ">new", ">force", ">setboard " + Midgame, ">post", ">sd 2", ">go", "<1 ", "<2 ", "<move ", "!3 "}, Midgame, {}},
      {{">xboard", ">new", ">force", ">usermove e3e5", "<Illegal move (the piece cannot move there): e3e5", ">usermove z9",
        "<Illegal move (not a move", ">setboard 9/9/9 w", "<Error (bad FEN: ", ">frobnicate", "<Error (unknown command)",
        ">sd deep", "<Error (bad argument): sd", ">usermove h2e2", ">usermove h9g7", ">usermove b0c2", ">remove",
        ">undo", ">undo", "<Error (no move to take back)", ">usermove b2e2", ">sd 2", ">go", "<move ", "!Illegal move (not the side"},
       StartFen, {"b2e2"}},
      {{">xboard", ">new", ">st 30", ">usermove h2e2", ">result 1-0 {Red resigns}", ">ping 9", "<pong 9", "!move "}, "", {}},
      // Stops answer at once, from the deep iterations on, where one piece's moves take longest; force takes
      // the engine off the move, so the cut search answers nothing.
      {{H2e2, ">go infinite", "<info depth 5", ">stop", "<bestmove ", "@3000"}, StartFen, AfterH2e2},
      {{H2e2, ">go infinite", "<info depth 3", ">quit", "@3000", "~"}, "", {}},
      {{">xboard", ">new", ">st 100", ">post", ">usermove h2e2", "<5 ", ">?", "<move ", "@3000"}, StartFen, AfterH2e2},
      {{">xboard", ">new", ">st 100", ">post", ">usermove h2e2", "<5 ", ">force", "@3000", "~", "!move "}, "", {}},
      // A fixed time per move is a ceiling, even where the next iteration would run far past it.
      {{H2e2, ">go movetime 1000", "<bestmove ", "@1000"}, StartFen, AfterH2e2},
      {{">xboard", ">new", ">force", ">usermove h2e2", ">st 1", ">go", "<move ", "@1000"}, StartFen, AfterH2e2},
      {{H2e2, ">go wtime 900 btime 900", "<bestmove ", "@300"}, StartFen, AfterH2e2},
      // The strong levels answer a bare go within their time, in either protocol; the strong search plays a
      // GUI's time unless its option is turned off.
      {{">uci", "<option name StrongSearch type check default true", ">setoption name StrongSearch value maybe",
        "<info string StrongSearch takes true or false", ">setoption name Difficulty value 8",
        "<info string Difficulty takes 0 to 7", ">setoption name Difficulty value 5", H2e2, ">go", "<info depth 6 ",
        "<bestmove ", "@1000"}, StartFen, AfterH2e2},
      {{">xboard", ">protover 2", "<feature option=\"StrongSearch -check 1\"", ">new", ">option Difficulty=5", ">post",
        ">usermove h2e2", "<6 ", "<move ", "@1000", ">option Difficulty=8", "<Error (unknown option)"}, StartFen, AfterH2e2},
      // The GUI referees repetitions: green's checks win nothing by the chasing step out of them that
      // the game's own rules would refuse.
      {{">uci", ">position fen " + std::string(test::HostedChaseStart) + " moves " + test::HostedChaseBeforeLastCheck(), ">go depth 4",
        "<info depth 4 score cp ", "<bestmove "}, "", {}},
      // Green's own short clock counts, not red's long one.
      {{H2e2, ">go wtime 600000 btime 900 movestogo 1", "<bestmove ", "@900"}, StartFen, AfterH2e2},
      // uci2wb's Cyclone dialect for Xiangqi leaves out "position".
      {{">uci", "<uciok", ">fen rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR r moves h2e2", ">go depth 2",
        "<bestmove ", "!info string"}, StartFen, AfterH2e2},
      // UCCI: its handshake, times in milliseconds once asked, options it has no use for, probe and bye.
      {{">ucci", "<id name Ravenquill", "<option usemillisec type check default false", "<ucciok", ">isready", "<readyok",
        ">setoption usemillisec true", ">setoption hashsize 16", ">position fen " + std::string(StartFen) + " moves h2e2",
        ">go time 900 increment 0 opptime 900 oppincrement 0", "<info depth 1 score ", "<bestmove ", "@900",
        ">probe " + std::string(StartFen), "<pophash", ">quit", "<bye", "!info string"}, StartFen, AfterH2e2},
      // A banned move is not played, until the position changes; with every move banned there is no answer.
      {{">ucci", ">position fen 4k4/9/9/9/9/9/9/9/4R4/3K5 w - - 0 1", ">banmoves e1e9", ">go depth 2", "<bestmove ",
        "!bestmove e1e9", ">position fen 4k4/9/9/9/9/9/9/9/4R4/3K5 w - - 0 1", ">go depth 2", "<bestmove e1e9"}, "", {}},
      {{">ucci", ">position fen 4k4/9/9/9/9/9/9/9/9/3K5 w - - 0 1", ">banmoves d0d1", ">go depth 2", "<nobestmove"}, "", {}},
      // A ping while the engine thinks on its move is answered after the move.
      {{">xboard", ">new", ">st 1", ">usermove h2e2", ">ping 4", "<move ", "<pong 4"}, StartFen, AfterH2e2},
      // Where a repetition ends the search, the thinking shows the move that is played.
      {{">uci", ">position fen " + Shuttling + " moves" + Joined(FourShuttles), ">go depth 2", "<bestmove ", "^"},
       Shuttling, FourShuttles},
      // XBoard judges a third time of the same checks lost: the engine plays the move as good instead.
      {{">uci", ">position fen " + Checking + " moves" + Joined(TwoChecks), ">go depth 3", "<bestmove ", "!bestmove a8a9"},
       Checking, TwoChecks},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("row " + std::to_string(&row - rows));
    EngineUnderTest e;
    size_t next = 0;
    std::string answered;
    auto sent = Clock::now();
    // A line that never came ends the row, not the table.
    const bool whole = [&] {
      for (const std::string& step : row.steps) {
        if (step[0] == '>') {
          sent = Clock::now();
          e.send(step.substr(1));
        }
        const int at = step[0] == '<' ? e.waitFor(step.substr(1), next) : -1;
        if (step[0] == '<' && at < 0) {
          ADD_FAILURE() << "no \"" << step << "\" after line " << next;
          return false;
        }
        if (step[0] == '<') next = static_cast<size_t>(at) + 1;
        if (step == "<bestmove " || step == "<move ") answered = e.line(at).substr(step.size() - 1, 4);
        if (step[0] == '!') { EXPECT_LT(e.waitFor(step.substr(1), 0, 0), 0) << step; }
        if (step[0] == '@') { EXPECT_LT(Clock::now() - sent, milliseconds(std::stoi(step.substr(1)))); }
        if (step[0] == '~') { EXPECT_FALSE(SearchRunning(e.engine->search)); }
        if (step[0] == '^') {
          const int thinking = LastThinking(e, next);
          EXPECT_GE(thinking, 0) << "no thinking before the answer";
          if (thinking >= 0) { EXPECT_NE(e.line(thinking).find(" pv " + answered), std::string::npos) << e.line(thinking); }
        }
      }
      return true;
    }();
    if (!whole) continue;
    EXPECT_EQ(e.quit, std::count(row.steps.begin(), row.steps.end(), ">quit") > 0);
    if (row.fen.empty()) continue;
    EngineGame game;
    std::string error;
    bool ok = SetUpGame(game, row.fen, error);
    for (const std::string& m : row.moves) ok = ok && PlayMoveText(game, m, error);
    EXPECT_TRUE(ok && PlayMoveText(game, answered, error)) << answered << ": " << error;
  }
}

}  // namespace
}  // namespace rq
