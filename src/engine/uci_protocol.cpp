// UCI as Xiangqi GUIs speak it: coordinates a0-i9, red moves first as "w".
#include <algorithm>
#include <cstdio>

#include "engine/engine.h"
#include "rules/notation.h"

namespace rq {
namespace {

// "mate N" for a won or lost line, else centi-units of the evaluation.
std::string ScoreText(int32_t score) {
  const int32_t plies = WinScore - (score < 0 ? -score : score);
  if (plies >= 0 && plies < MaxSearchPly) {
    // A general taken at ply p means mate was given one ply earlier.
    const int moves = score > 0 ? std::max(plies / 2, 1) : -std::max((plies - 1) / 2, 1);
    return "mate " + std::to_string(moves);
  }
  return "cp " + std::to_string(score);
}

// One "info" line per finished iteration.
void UciIteration(void* context, const IterationReport& report) {
  auto* engine = static_cast<Engine*>(context);
  const long long ms = report.elapsedMs > 0 ? report.elapsedMs : 0;
  const unsigned long long nps = static_cast<unsigned long long>(report.nodes * 1000 / (ms > 0 ? ms : 1));
  std::string line = "info depth " + std::to_string(report.depth) + " score " + ScoreText(report.result.status) +
                     " nodes " + std::to_string(report.nodes) + " nps " + std::to_string(nps) + " time " +
                     std::to_string(ms);
  const std::string pv = FormatLine(*report.line);
  if (!pv.empty()) line += " pv " + pv;
  Send(engine->output, line);
}

// The answer to a "go": the move, or "(none)" when there is no move to make.
void UciFinished(void* context, const SearchOutcome& outcome) {
  auto* engine = static_cast<Engine*>(context);
  if (!outcome.hasMove) {
    Send(engine->output, "bestmove (none)");
    return;
  }
  if (outcome.fallback) Send(engine->output, "info string no finished search; playing the first permitted move");
  Send(engine->output, "bestmove " + FormatMove(outcome.move));
}

// "position startpos|fen FEN [moves ...]": a bad FEN keeps the old position, an illegal
// move stops the replay before it.
void UciPosition(Engine& e, const std::vector<std::string>& w) {
  size_t i = 1;
  std::string fen;
  if (w.size() >= 2 && w[1] == "startpos") {
    i = 2;
  } else if (w.size() >= 2 && w[1] == "fen") {
    for (i = 2; i < w.size() && w[i] != "moves"; ++i) fen += (fen.empty() ? "" : " ") + w[i];
    if (fen.empty()) {
      Send(e.output, "info string bad FEN (empty); position unchanged");
      return;
    }
  } else {
    Send(e.output, "info string position needs startpos or fen; position unchanged");
    return;
  }
  if (i < w.size() && w[i] != "moves") {
    Send(e.output, "info string unexpected '" + w[i] + "' in position; position unchanged");
    return;
  }
  std::string error;
  if (!SetUpGame(e.game, fen, error)) {
    Send(e.output, "info string bad FEN (" + error + "); position unchanged");
    return;
  }
  for (++i; i < w.size(); ++i) {
    if (!PlayMoveText(e.game, w[i], error)) {
      Send(e.output, "info string illegal move " + w[i] + " (" + error + "); position set up to the move before");
      return;
    }
  }
}

// Reads the number after a "go" keyword; a bad one is reported and skipped.
bool GoNumber(Engine& e, const std::vector<std::string>& w, size_t& i, int64_t low, int64_t high, int64_t& out) {
  if (i + 1 >= w.size() || !ParseNumber(w[i + 1], low, high, out)) {
    Send(e.output, "info string bad value for " + w[i] + " in go");
    if (i + 1 < w.size()) ++i;
    return false;
  }
  ++i;
  return true;
}

// "go" with its limits; the search answers on its own thread.
void UciGo(Engine& e, const std::vector<std::string>& w) {
  GoRequest q;
  int64_t clock[2] = {-1, -1}, increment[2] = {0, 0}, value = 0;
  constexpr int64_t Big = int64_t(1) << 40;
  for (size_t i = 1; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "depth") { if (GoNumber(e, w, i, 1, 1000, value)) q.depth = static_cast<int32_t>(value); }
    else if (k == "movetime") { if (GoNumber(e, w, i, 0, Big, value)) q.moveTimeMs = value; }
    // Some GUIs let a clock run below zero; what is left is then nothing.
    else if (k == "wtime") { if (GoNumber(e, w, i, -Big, Big, value)) clock[Red] = value < 0 ? 0 : value; }
    else if (k == "btime") { if (GoNumber(e, w, i, -Big, Big, value)) clock[Green] = value < 0 ? 0 : value; }
    else if (k == "winc") { if (GoNumber(e, w, i, 0, Big, value)) increment[Red] = value; }
    else if (k == "binc") { if (GoNumber(e, w, i, 0, Big, value)) increment[Green] = value; }
    else if (k == "movestogo") { if (GoNumber(e, w, i, 0, 10000, value)) q.movesToGo = static_cast<int32_t>(value); }
    else if (k == "infinite") q.infinite = true;
    else if (k == "nodes" || k == "mate") { GoNumber(e, w, i, 0, Big, value); Send(e.output, "info string " + k + " is not supported"); }
    else if (k == "ponder") Send(e.output, "info string ponder is not supported");
    else if (k == "searchmoves") {
      Send(e.output, "info string searchmoves is not supported");
      int from = 0, to = 0;
      while (i + 1 < w.size() && ParseMove(w[i + 1], from, to)) ++i;
    } else Send(e.output, "info string unknown go parameter " + k);
  }
  const int side = e.game.sideToMove;
  q.remainingMs = clock[side];
  q.incrementMs = increment[side];
  if (e.game.record->anyGeneralTaken()) {
    Send(e.output, "info string the game is over: a general has been taken");
    Send(e.output, "bestmove (none)");
    return;
  }
  SearchCallbacks callbacks;
  callbacks.context = &e;
  callbacks.iteration = UciIteration;
  callbacks.finished = UciFinished;
  StartSearch(e.search, e.game, PlanSearch(q, e.difficulty), callbacks);
}

// "setoption name Difficulty value N", and the switch to the strong search.
void UciSetOption(Engine& e, const std::vector<std::string>& w) {
  // setoption name <id> [value <x>]; names may hold blanks.
  std::string name, value;
  size_t i = 1;
  if (i < w.size() && w[i] == "name") ++i;
  for (; i < w.size() && w[i] != "value"; ++i) name += (name.empty() ? "" : " ") + w[i];
  for (++i; i < w.size(); ++i) value += (value.empty() ? "" : " ") + w[i];
  if (name == StrongSearchOption) {
    if (value != "true" && value != "false") Send(e.output, "info string StrongSearch takes true or false, not '" + value + "'");
    else SetStrongSearch(e, value == "true");
    return;
  }
  if (name != "Difficulty") {
    Send(e.output, "info string unknown option '" + name + "'");
    return;
  }
  int64_t level = 0;
  if (!ParseNumber(value, 0, LastStrongLevel, level)) {
    Send(e.output, "info string Difficulty takes 0 to " + std::to_string(LastStrongLevel) + ", not '" + value + "'");
    return;
  }
  e.difficulty = static_cast<int32_t>(level);
}

}  // namespace

bool IsUciCommand(const std::string& word) {
  return word == "uci" || word == "isready" || word == "ucinewgame" || word == "position" || word == "go" ||
         word == "stop" || word == "setoption" || word == "debug" || word == "register" || word == "ponderhit";
}

bool HandleUciCommand(Engine& e, const std::vector<std::string>& w, const std::string& line) {
  const std::string& c = w[0];
  if (c == "uci") {
    Send(e.output, std::string("id name ") + EngineName);
    Send(e.output, std::string("id author ") + EngineAuthor);
    Send(e.output, "option name Difficulty type spin default " + std::to_string(DefaultDifficulty) + " min 0 max " +
                       std::to_string(LastStrongLevel));
    Send(e.output, std::string("option name ") + StrongSearchOption + " type check default true");
    Send(e.output, "uciok");
  } else if (c == "isready") {
    Send(e.output, "readyok");
  } else if (c == "ucinewgame") {
    FinishSearch(e, false);
    std::string error;
    SetUpGame(e.game, "", error);
  } else if (c == "position") {
    FinishSearch(e, false);
    UciPosition(e, w);
  } else if (c == "go") {
    FinishSearch(e, false);
    UciGo(e, w);
  } else if (c == "stop") {
    if (SearchRunning(e.search)) StopSearch(e.search, false);
  } else if (c == "setoption") {
    UciSetOption(e, w);
  } else if (c == "quit") {
    FinishSearch(e, false);
    return false;
  } else if (c == "debug" || c == "register" || c == "ponderhit") {
    // Nothing to do: no debug output, no registration, no pondering.
  } else {
    Send(e.output, "info string unknown command: " + line);
  }
  return true;
}

}  // namespace rq
