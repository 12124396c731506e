// The xboard protocol, version 2, for XBoard and the engines that play inside it.
#include <cstdlib>

#include "engine/engine.h"
#include "rules/notation.h"

namespace rq {
namespace {

// The thinking line of a finished iteration, when "post" asked for them.
void XboardIteration(void* context, const IterationReport& report) {
  auto* engine = static_cast<Engine*>(context);
  if (!engine->xboard.post) return;
  // ply, score, time in centiseconds, nodes, line.
  Send(engine->output, std::to_string(report.depth) + " " + std::to_string(report.result.status) + " " +
                           std::to_string(report.elapsedMs / 10) + " " + std::to_string(report.nodes) + " " +
                           FormatLine(*report.line));
}

// Answers the pings held while the engine thought; it thinks no more.
void ReleasePongs(Engine& e) {
  std::lock_guard<std::mutex> hold(e.xboard.pongMutex);
  for (const std::string& pong : e.xboard.heldPongs) Send(e.output, pong);
  e.xboard.heldPongs.clear();
  e.xboard.thinking = false;
}

// Runs on the search thread, which owns the game until it is joined.
void XboardFinished(void* context, const SearchOutcome& outcome) {
  auto* engine = static_cast<Engine*>(context);
  if (!outcome.hasMove) {
    Send(engine->output, "resign");
  } else {
    PlayCheckedMove(engine->game, outcome.move.from, outcome.move.to);
    Send(engine->output, "move " + FormatMove(outcome.move));
  }
  ReleasePongs(*engine);
}

// Ends any search without its answer; the pings it held are answered.
void StopThinking(Engine& e) {
  FinishSearch(e, true);
  ReleasePongs(e);
}

// "ping N": answered now, or after the move when the engine is thinking on one.
void Ping(Engine& e, const std::vector<std::string>& w) {
  const std::string pong = "pong" + (w.size() > 1 ? " " + w[1] : std::string());
  std::lock_guard<std::mutex> hold(e.xboard.pongMutex);
  if (e.xboard.thinking) e.xboard.heldPongs.push_back(pong);
  else Send(e.output, pong);
}

// Moves the engine's side has made since the start position.
int EngineMovesMade(const Engine& e) {
  int made = 0;
  const int plies = static_cast<int>(e.game.moves.size());
  for (int k = 0; k < plies; ++k)
    if ((e.game.startSide + k) % 2 == e.xboard.engineSide) ++made;
  return made;
}

// Searches for the side to move under the time control, depth and level in force.
void StartThinking(Engine& e) {
  JoinSearch(e.search);
  const XboardState& x = e.xboard;
  GoRequest q;
  q.depth = x.depthLimit;
  if (x.moveTimeMs >= 0) {
    q.moveTimeMs = x.moveTimeMs;
  } else if (x.engineClockMs >= 0 || x.baseMs >= 0) {
    q.remainingMs = x.engineClockMs >= 0 ? x.engineClockMs : x.baseMs;
    q.incrementMs = x.incrementMs;
    if (x.movesPerControl > 0) q.movesToGo = x.movesPerControl - EngineMovesMade(e) % x.movesPerControl;
  }
  if (e.game.record->anyGeneralTaken()) return;
  SearchCallbacks callbacks;
  callbacks.context = &e;
  callbacks.iteration = XboardIteration;
  callbacks.finished = XboardFinished;
  {
    std::lock_guard<std::mutex> hold(e.xboard.pongMutex);
    e.xboard.thinking = true;
  }
  StartEngineSearch(e, PlanSearch(q, e.difficulty), callbacks);
}

// "5", "0:30" or "1:30" as milliseconds.
bool ParseClockText(const std::string& text, int64_t& ms) {
  const size_t colon = text.find(':');
  int64_t minutes = 0, seconds = 0;
  if (colon == std::string::npos) {
    if (!ParseNumber(text, 0, 100000, minutes)) return false;
  } else if (!ParseNumber(text.substr(0, colon), 0, 100000, minutes) ||
             !ParseNumber(text.substr(colon + 1), 0, 59, seconds)) {
    return false;
  }
  ms = (minutes * 60 + seconds) * 1000;
  return true;
}

// "level MPS BASE INC", the increment in seconds and possibly fractional.
bool ParseLevel(Engine& e, const std::vector<std::string>& w) {
  int64_t moves = 0, base = 0;
  if (w.size() != 4 || !ParseNumber(w[1], 0, 10000, moves) || !ParseClockText(w[2], base)) return false;
  char* end = nullptr;
  const double increment = std::strtod(w[3].c_str(), &end);
  if (*end != '\0' || !(increment >= 0.0 && increment < 100000.0)) return false;
  e.xboard.movesPerControl = static_cast<int32_t>(moves);
  e.xboard.baseMs = base;
  e.xboard.incrementMs = static_cast<int64_t>(increment * 1000.0);
  e.xboard.moveTimeMs = -1;
  return true;
}

// The answer to "protover 2".
void SendFeatures(Engine& e) {
  Send(e.output, "feature done=0");
  Send(e.output, std::string("feature myname=\"") + EngineName +
                     "\" variants=\"xiangqi\" setboard=1 usermove=1 sigint=0 sigterm=0 colors=0 ping=1 "
                     "time=1 reuse=1 analyze=0 draw=0 san=0 playother=0");
  Send(e.output, "feature option=\"Difficulty -spin " + std::to_string(DefaultDifficulty) + " 0 4\"");
  Send(e.output, "feature done=1");
}

// The opponent's move; the engine answers it unless in force mode.
void UserMove(Engine& e, const std::string& text) {
  StopThinking(e);
  std::string error;
  if (!PlayMoveText(e.game, text, error)) {
    Send(e.output, "Illegal move (" + error + "): " + text);
    return;
  }
  if (!e.xboard.forceMode && e.game.sideToMove == e.xboard.engineSide) StartThinking(e);
}

// "option Difficulty=N" from the GUI's engine settings.
void SetOption(Engine& e, const std::string& setting) {
  const size_t eq = setting.find('=');
  int64_t level = 0;
  if (eq == std::string::npos || setting.substr(0, eq) != "Difficulty" ||
      !ParseNumber(setting.substr(eq + 1), 0, 4, level)) {
    Send(e.output, "Error (unknown option): option " + setting);
    return;
  }
  e.difficulty = static_cast<int32_t>(level);
}

// Number argument of sd, st, time, otim; false (after an error line) when it is missing or bad.
bool Argument(Engine& e, const std::vector<std::string>& w, int64_t low, int64_t high, int64_t& out) {
  if (w.size() == 2 && ParseNumber(w[1], low, high, out)) return true;
  Send(e.output, "Error (bad argument): " + w[0]);
  return false;
}

}  // namespace

bool IsXboardCommand(const std::string& word) {
  static const char* const words[] = {"xboard", "protover", "new", "variant", "force", "usermove", "setboard",
                                      "sd", "st", "level", "time", "otim", "ping", "result", "?", "undo",
                                      "remove", "post", "nopost", "hard", "easy", "accepted", "rejected"};
  for (const char* w : words)
    if (word == w) return true;
  return false;
}

bool HandleXboardCommand(Engine& e, const std::vector<std::string>& w, const std::string& line) {
  const std::string& c = w[0];
  XboardState& x = e.xboard;
  int64_t n = 0;
  if (c == "xboard") {
    // Nothing to answer: the protover that follows asks for the features.
  } else if (c == "protover") {
    SendFeatures(e);
  } else if (c == "new") {
    StopThinking(e);
    std::string error;
    SetUpGame(e.game, "", error);
    x.forceMode = false;
    x.engineSide = Green;
    x.depthLimit = 0;
    x.engineClockMs = -1;
  } else if (c == "variant") {
    if (w.size() != 2 || w[1] != "xiangqi") Send(e.output, "Error (unsupported variant): " + line);
  } else if (c == "force") {
    StopThinking(e);
    x.forceMode = true;
  } else if (c == "go") {
    StopThinking(e);
    x.forceMode = false;
    x.engineSide = e.game.sideToMove;
    StartThinking(e);
  } else if (c == "usermove") {
    if (w.size() != 2) Send(e.output, "Error (usermove needs one move): " + line);
    else UserMove(e, w[1]);
  } else if (c == "setboard") {
    StopThinking(e);
    std::string fen = line.substr(line.find("setboard") + 8);
    const size_t first = fen.find_first_not_of(" \t");
    fen = first == std::string::npos ? std::string() : fen.substr(first);
    std::string error;
    // An empty FEN would mean the start position to the set-up; here it is a fault.
    if (fen.empty()) Send(e.output, "Error (bad FEN: empty): setboard");
    else if (!SetUpGame(e.game, fen, error)) Send(e.output, "Error (bad FEN: " + error + "): setboard " + fen);
  } else if (c == "sd") {
    if (Argument(e, w, 0, 1000, n)) x.depthLimit = static_cast<int32_t>(n);
  } else if (c == "st") {
    if (Argument(e, w, 1, 1000000, n)) {
      x.moveTimeMs = n * 1000;
      x.baseMs = -1;
    }
  } else if (c == "level") {
    if (!ParseLevel(e, w)) Send(e.output, "Error (bad time control): " + line);
  } else if (c == "time") {
    // A clock run below zero leaves nothing to spend.
    if (Argument(e, w, -(int64_t(1) << 40), int64_t(1) << 40, n)) x.engineClockMs = n < 0 ? 0 : n * 10;
  } else if (c == "otim") {
    // The opponent's clock plays no part in the engine's plan; the number is only checked.
    Argument(e, w, -(int64_t(1) << 40), int64_t(1) << 40, n);
  } else if (c == "ping") {
    Ping(e, w);
  } else if (c == "result") {
    StopThinking(e);
    x.forceMode = true;
  } else if (c == "?") {
    if (SearchRunning(e.search)) StopSearch(e.search, false);
  } else if (c == "undo" || c == "remove") {
    StopThinking(e);
    if (!TakeBackMoves(e.game, c == "undo" ? 1 : 2)) Send(e.output, "Error (no move to take back): " + c);
  } else if (c == "post") {
    x.post = true;
  } else if (c == "nopost") {
    x.post = false;
  } else if (c == "option") {
    if (w.size() != 2) Send(e.output, "Error (bad option): " + line);
    else SetOption(e, w[1]);
  } else if (c == "quit") {
    StopThinking(e);
    return false;
  } else if (c == "hard" || c == "easy" || c == "accepted" || c == "rejected" || c == "random" ||
             c == "computer" || c == "name" || c == "rating" || c == "ics" || c == "draw" || c == "hint" ||
             c == "bk" || c == "memory" || c == "cores" || c == "egtpath" || c == "." || c == "exit" ||
             c == "white" || c == "black") {
    // No pondering, no book, no draw offers, no analysis: nothing to do.
  } else {
    int from = 0, to = 0;
    // Without the usermove prefix a move comes bare.
    if (w.size() == 1 && ParseMove(c, from, to)) UserMove(e, c);
    else Send(e.output, "Error (unknown command): " + c);
  }
  return true;
}

}  // namespace rq
