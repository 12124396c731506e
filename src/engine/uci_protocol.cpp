// UCI as Xiangqi GUIs speak it: coordinates a0-i9, red moves first as "w".
#include <algorithm>

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
  Send(engine->output, InfoLine(report, ScoreText(report.result.status), true));
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

// "go" with its limits; the search answers on its own thread.
void UciGo(Engine& e, const std::vector<std::string>& w) {
  GoRequest q;
  int64_t clock[2] = {-1, -1}, increment[2] = {0, 0}, value = 0;
  constexpr int64_t Big = int64_t(1) << 40;
  for (size_t i = 1; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "depth") { if (GoValue(e, w, i, 1, 1000, value)) q.depth = static_cast<int32_t>(value); }
    else if (k == "movetime") { if (GoValue(e, w, i, 0, Big, value)) q.moveTimeMs = value; }
    // Some GUIs let a clock run below zero; what is left is then nothing.
    else if (k == "wtime") { if (GoValue(e, w, i, -Big, Big, value)) clock[Red] = value < 0 ? 0 : value; }
    else if (k == "btime") { if (GoValue(e, w, i, -Big, Big, value)) clock[Green] = value < 0 ? 0 : value; }
    else if (k == "winc") { if (GoValue(e, w, i, 0, Big, value)) increment[Red] = value; }
    else if (k == "binc") { if (GoValue(e, w, i, 0, Big, value)) increment[Green] = value; }
    else if (k == "movestogo") { if (GoValue(e, w, i, 0, 10000, value)) q.movesToGo = static_cast<int32_t>(value); }
    else if (k == "infinite") q.infinite = true;
    else UnservedGoKeyword(e, w, i);
  }
  const int side = e.game.sideToMove;
  q.remainingMs = clock[side];
  q.incrementMs = increment[side];
  SearchCallbacks callbacks;
  callbacks.context = &e;
  callbacks.iteration = UciIteration;
  callbacks.finished = UciFinished;
  StartGo(e, q, callbacks, "bestmove (none)");
}

// "setoption name Difficulty value N", the one option there is.
void UciSetOption(Engine& e, const std::vector<std::string>& w) {
  std::string name, value;
  SplitOption(w, true, name, value);
  if (name != "Difficulty") Send(e.output, "info string unknown option '" + name + "'");
  else SetDifficulty(e, value);
}

}  // namespace

bool IsUciCommand(const std::string& word) {
  return word == "uci" || word == "isready" || word == "ucinewgame" || word == "position" || word == "fen" ||
         word == "go" || word == "stop" || word == "setoption" || word == "debug" || word == "register" ||
         word == "ponderhit";
}

bool HandleUciCommand(Engine& e, const std::vector<std::string>& w, const std::string& line) {
  const std::string& c = w[0];
  if (c == "uci") {
    Send(e.output, std::string("id name ") + EngineName);
    Send(e.output, std::string("id author ") + EngineAuthor);
    Send(e.output, "option name Difficulty type spin default " + std::to_string(DefaultDifficulty) + " min 0 max 4");
    Send(e.output, "uciok");
  } else if (c == "isready") {
    Send(e.output, "readyok");
  } else if (c == "ucinewgame") {
    StartNewGame(e);
  } else if (c == "position" || c == "fen") {
    // Some adapters (uci2wb's Cyclone dialect for Xiangqi) send "fen FEN moves ..." without "position".
    FinishSearch(e, false);
    SetUpPositionCommand(e, w, c == "fen" ? 0 : 1);
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
