// Scripted conversations with the engine in both protocols; the search runs on its thread.
#include <chrono>

#include "engine_harness.h"

namespace rq {
namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

struct Conversation {
  const char* name;
  std::vector<std::string> steps;
  // When set, the last answered move must be permitted after these moves from this FEN.
  const char* fen;
  std::vector<std::string> moves;
  const char* answer;  // "bestmove " or "move "
};

void Check(const Conversation& c) {
  test::EngineUnderTest e;
  test::RunScript(e, c.steps, c.name);
  if (!c.answer) return;
  const std::string move = test::LastMove(e, c.answer);
  EXPECT_TRUE(test::PermittedAfter(c.fen, c.moves, move)) << c.name << ": answered '" << move << "'";
}

const char* const Start = StartFen;
const char* const Midgame = "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1";

TEST(UciConversation, AnswersEveryScriptedExchange) {
  const Conversation rows[] = {
      {"handshake",
       {">uci", "<id name Ravenquill", "<id author", "<option name Difficulty type spin default 1 min 0 max 4",
        "<uciok", ">isready", "<readyok"},
       nullptr, {}, nullptr},
      {"start position with moves, by depth",
       {">uci", ">position startpos moves h2e2 h9g7", ">go depth 3", "<info depth 1 score cp ", "<info depth 2 ",
        "<info depth 3 ", "<bestmove ", "!info depth 4"},
       Start, {"h2e2", "h9g7"}, "bestmove "},
      {"fen with moves, by time",
       {">position fen r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1 moves f3f8",
        ">go movetime 200", "<bestmove "},
       Midgame, {"f3f8"}, "bestmove "},
      {"clock for the side to move",
       {">ucinewgame", ">position startpos moves b2e2", ">go wtime 100 btime 3000 winc 0 binc 0", "<bestmove "},
       Start, {"b2e2"}, "bestmove "},
      {"infinite search answers isready and waits for stop",
       {">position startpos", ">go infinite", ">isready", "<readyok", ">stop", "<bestmove "},
       Start, {}, "bestmove "},
      {"illegal move keeps the moves before it",
       {">position startpos moves h2e2 e2e9 h9g7", "<info string illegal move e2e9", ">go depth 2", "<bestmove "},
       Start, {"h2e2"}, "bestmove "},
      {"move of the wrong side",
       {">position startpos moves h7e7", "<info string illegal move h7e7 (not the side to move)"},
       nullptr, {}, nullptr},
      {"moving into facing generals",
       {">position fen 4k4/9/9/9/9/9/9/9/4R4/4K4 w - - 0 1 moves e1d1", "<info string illegal move e1d1 (the generals"},
       nullptr, {}, nullptr},
      {"malformed FEN leaves the old position",
       {">position startpos moves h2e2", ">position fen rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P w",
        "<info string bad FEN", ">position fen", "<info string bad FEN (empty)", ">position", "<info string position needs",
        ">go depth 1", "<bestmove "},
       Start, {"h2e2"}, "bestmove "},
      {"bad input goes on",
       {">uci", ">setoption name Difficulty value 0", ">frobnicate now", "<info string unknown command: frobnicate now", ">go depth x", "<info string bad value for depth",
        "<bestmove ", ">setoption name Difficulty value 9", "<info string Difficulty takes 0 to 4",
        ">setoption name Hash value 16", "<info string unknown option 'Hash'", ">isready", "<readyok"},
       Start, {}, "bestmove "},
      {"difficulty level when go names no limit",
       {">setoption name Difficulty value 0", ">position startpos", ">go", "<info depth 3 ", "<bestmove "},
       Start, {}, "bestmove "},
      {"a taken general ends the game",
       {">position fen 4k4/9/9/9/9/9/9/9/4R4/3K5 w - - 0 1 moves e1e9", ">go depth 3", "<info string the game is over",
        "<bestmove (none)"},
       nullptr, {}, nullptr},
  };
  for (const Conversation& row : rows) Check(row);
}

TEST(UciConversation, QuitEndsARunningSearch) {
  test::EngineUnderTest e;
  e.send("position startpos");
  e.send("go infinite");
  const auto start = Clock::now();
  e.send("quit");
  EXPECT_TRUE(e.quit);
  EXPECT_LT(MsSince(start), 5000);
  EXPECT_FALSE(SearchRunning(e.engine->search));
}

TEST(UciConversation, TimedSearchesAnswerWithinTheirBudget) {
  struct Row { const char* position; const char* go; long long limitMs; };
  // The limits are what a GUI would allow, with room for a slow (sanitised) build.
  const Row rows[] = {
      {"position fen r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1", "go movetime 300",
       300 + 1500},
      {"position fen r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1",
       "go wtime 900 btime 900", 300 + 1500},
      {"position fen r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1",
       "go wtime 5000 btime 5000 movestogo 1", 2800 + 1500},
      // Green to move: its own short clock counts, not red's long one.
      {"position startpos moves h2e2 h9g7 h0g2", "go wtime 600000 btime 900 movestogo 1", 300 + 1500},
  };
  for (const Row& row : rows) {
    test::EngineUnderTest e;
    e.send(row.position);
    const auto start = Clock::now();
    e.send(row.go);
    ASSERT_GE(e.output.waitFor("bestmove ", 0, 60000), 0) << row.go;
    EXPECT_LT(MsSince(start), row.limitMs) << row.go;
  }
}

TEST(UciConversation, StopAnswersPromptlyWithAPermittedMove) {
  test::EngineUnderTest e;
  e.send("position startpos moves h2e2 h9g7 h0g2");
  e.send("go infinite");
  // Let it reach the deep iterations, where one piece's moves take longest.
  ASSERT_GE(e.output.waitFor("info depth 5", 0, 30000), 0);
  const auto start = Clock::now();
  e.send("stop");
  ASSERT_GE(e.output.waitFor("bestmove ", 0, 30000), 0);
  EXPECT_LT(MsSince(start), 3000);
  EXPECT_TRUE(test::PermittedAfter(StartFen, {"h2e2", "h9g7", "h0g2"}, test::LastMove(e, "bestmove ")));
}

TEST(XboardConversation, AnswersEveryScriptedExchange) {
  const Conversation rows[] = {
      {"handshake",
       {">xboard", ">protover 2", "<feature done=0", "<feature myname=\"Ravenquill", "<feature option=\"Difficulty -spin 1 0 4\"",
        "<feature done=1", ">accepted done", ">ping 7", "<pong 7"},
       nullptr, {}, nullptr},
      {"the engine answers a user move as green",
       {">xboard", ">new", ">variant xiangqi", ">level 40 0:20 0", ">time 2000", ">otim 2000", ">post",
        ">usermove h2e2", "<1 ", "<move "},
       Start, {"h2e2"}, "move "},
      {"force, moves, then go plays the side to move",
       {">xboard", ">new", ">force", ">usermove h2e2", ">usermove h9g7", ">sd 3", ">go", "<move "},
       Start, {"h2e2", "h9g7"}, "move "},
      {"setboard and a search of fixed depth",
       {">xboard", ">new", ">force", ">setboard r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1",
        ">post", ">sd 2", ">go", "<1 ", "<2 ", "<move ", "!3 "},
       Midgame, {}, "move "},
      {"illegal moves are refused and the game goes on",
       {">xboard", ">new", ">force", ">usermove e3e5", "<Illegal move (the piece cannot move there): e3e5",
        ">usermove h7e7", "<Illegal move (not the side to move): h7e7", ">usermove z9", "<Illegal move (not a move",
        ">usermove h2e2", ">sd 2", ">go", "<move "},
       Start, {"h2e2"}, "move "},
      {"bad FEN, unknown command, bad arguments",
       {">xboard", ">new", ">force", ">setboard 9/9/9 w", "<Error (bad FEN: ", ">setboard", "<Error (bad FEN: empty)",
        ">frobnicate", "<Error (unknown command): frobnicate", ">variant shogi", "<Error (unsupported variant)",
        ">sd deep", "<Error (bad argument): sd", ">level 40 x 0", "<Error (bad time control)",
        ">option Hash=9", "<Error (unknown option)", ">ping 3", "<pong 3", ">sd 1", ">go", "<move "},
       Start, {}, "move "},
      {"undo and remove take moves back",
       {">xboard", ">new", ">force", ">usermove h2e2", ">usermove h9g7", ">usermove b0c2", ">remove", ">undo",
        ">undo", "<Error (no move to take back)", ">usermove b2e2", ">sd 2", ">go", "<move "},
       Start, {"b2e2"}, "move "},
      {"a result ends the game without a move",
       {">xboard", ">new", ">st 30", ">usermove h2e2", ">result 1-0 {Red resigns}", ">ping 9", "<pong 9", "!move "},
       nullptr, {}, nullptr},
      {"bare moves work without the usermove prefix",
       {">xboard", ">new", ">sd 2", ">h2e2", "<move "},
       Start, {"h2e2"}, "move "},
  };
  for (const Conversation& row : rows) Check(row);
}

TEST(XboardConversation, MoveNowAndForceCutAFixedTimeSearch) {
  struct Row { const char* command; bool moves; };
  const Row rows[] = {{"?", true}, {"force", false}};
  for (const Row& row : rows) {
    test::EngineUnderTest e;
    e.send("xboard");
    e.send("new");
    e.send("st 100");
    e.send("post");
    e.send("usermove h2e2");
    ASSERT_GE(e.output.waitFor("5 ", 0, 30000), 0) << row.command;
    const auto start = Clock::now();
    e.send(row.command);
    if (row.moves) {
      ASSERT_GE(e.output.waitFor("move ", 0, 30000), 0);
      EXPECT_TRUE(test::PermittedAfter(StartFen, {"h2e2"}, test::LastMove(e, "move ")));
    }
    e.send("ping 1");
    ASSERT_GE(e.output.waitFor("pong 1", 0, 30000), 0);
    EXPECT_LT(MsSince(start), 3000) << row.command;
    EXPECT_EQ(test::LastMove(e, "move ").empty(), !row.moves) << row.command;
  }
}

TEST(XboardConversation, EnginePlaysOnAfterItsOwnMove) {
  // The engine's move enters its game: the next user move must be judged after it.
  test::EngineUnderTest e;
  e.send("xboard");
  e.send("new");
  e.send("sd 2");
  e.send("usermove h2e2");
  ASSERT_GE(e.output.waitFor("move ", 0), 0);
  const std::string reply = test::LastMove(e, "move ");
  e.send("usermove b0c2");
  const int second = e.output.waitFor("move ", 1 + e.output.waitFor("move ", 0));
  ASSERT_GE(second, 0) << "after " << reply;
  EXPECT_TRUE(test::PermittedAfter(StartFen, {"h2e2", reply, "b0c2"}, test::LastMove(e, "move ")));
}

}  // namespace
}  // namespace rq
