// UCCI, the engine protocol of Chinese Xiangqi GUIs: UCI's shape with its own words, times in
// seconds unless the GUI asks for milliseconds, banned moves, and "bye" at the end.
#include "engine/engine.h"
#include "rules/notation.h"

namespace rq {
namespace {

// Options of the protocol that this engine has no use for; a GUI may set them all the same.
bool IsIgnoredUcciOption(const std::string& name) {
  static const char* const names[] = {"batch", "debug", "ponder", "usehash", "usebook", "useegtb", "bookfiles",
                                      "egtbpaths", "evaluation", "hashsize", "threads", "drawmoves", "repetition",
                                      "pruning", "knowledge", "selectivity", "randomness", "style", "loadbook",
                                      "idle", "promotion"};
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

// One "info" line per finished iteration; UCCI scores are bare numbers.
void UcciIteration(void* context, const IterationReport& report) {
  auto* engine = static_cast<Engine*>(context);
  Send(engine->output, InfoLine(report, std::to_string(report.result.status), false));
}

// The answer to a "go": the move, or "nobestmove" when there is none to make.
void UcciFinished(void* context, const SearchOutcome& outcome) {
  auto* engine = static_cast<Engine*>(context);
  if (!outcome.hasMove) {
    Send(engine->output, "nobestmove");
    return;
  }
  if (outcome.fallback) Send(engine->output, "info string no finished search; playing the first permitted move");
  Send(engine->output, "bestmove " + FormatMove(outcome.move));
}

// "go [ponder|draw] [depth D | time T [movestogo M | increment I] [opptime ...] | movetime T | infinite]".
void UcciGo(Engine& e, const std::vector<std::string>& w) {
  GoRequest q;
  const int64_t unit = e.ucci.milliseconds ? 1 : 1000;
  constexpr int64_t Big = int64_t(1) << 30;
  int64_t value = 0;
  for (size_t i = 1; i < w.size(); ++i) {
    const std::string& k = w[i];
    if (k == "depth") { if (GoValue(e, w, i, 1, 1000, value)) q.depth = static_cast<int32_t>(value); }
    else if (k == "movetime") { if (GoValue(e, w, i, 0, Big, value)) q.moveTimeMs = value * unit; }
    // A clock run below zero leaves nothing to spend.
    else if (k == "time") { if (GoValue(e, w, i, -Big, Big, value)) q.remainingMs = value < 0 ? 0 : value * unit; }
    else if (k == "increment") { if (GoValue(e, w, i, 0, Big, value)) q.incrementMs = value * unit; }
    else if (k == "movestogo") { if (GoValue(e, w, i, 0, 10000, value)) q.movesToGo = static_cast<int32_t>(value); }
    // The opponent's clock plays no part in the plan; its numbers are only checked.
    else if (k == "opptime" || k == "oppincrement" || k == "oppmovestogo") GoValue(e, w, i, -Big, Big, value);
    else if (k == "infinite") q.infinite = true;
    // A draw offer: the engine never takes one.
    else if (k == "draw") continue;
    else UnservedGoKeyword(e, w, i);
  }
  SearchCallbacks callbacks;
  callbacks.context = &e;
  callbacks.iteration = UcciIteration;
  callbacks.finished = UcciFinished;
  StartGo(e, q, callbacks, "nobestmove");
}

// "setoption NAME [VALUE]": the time unit, the difficulty, a new game; the protocol's other
// options are taken and have no effect.
void UcciSetOption(Engine& e, const std::vector<std::string>& w) {
  std::string name, value;
  SplitOption(w, false, name, value);
  if (name == "usemillisec") {
    if (value == "true" || value == "false") e.ucci.milliseconds = value == "true";
    else Send(e.output, "info string usemillisec takes true or false, not '" + value + "'");
  } else if (name == "Difficulty") {
    SetDifficulty(e, value);
  } else if (name == "newgame") {
    StartNewGame(e);
  } else if (!IsIgnoredUcciOption(name)) {
    Send(e.output, "info string unknown option '" + name + "'");
  }
}

// "banmoves MOVE ...": moves the next search of this position must not play.
void UcciBanMoves(Engine& e, const std::vector<std::string>& w) {
  e.bannedMoves.count = 0;
  for (size_t i = 1; i < w.size(); ++i) {
    int from = 0, to = 0;
    if (!ParseMove(w[i], from, to)) Send(e.output, "info string banmoves: not a move in a0-i9 coordinates: " + w[i]);
    else if (!e.bannedMoves.add(from, to)) Send(e.output, "info string banmoves: too many moves; " + w[i] + " and after left out");
  }
}

}  // namespace

bool IsUcciCommand(const std::string& word) {
  return word == "ucci" || word == "banmoves" || word == "probe" || word == "uccinewgame";
}

bool HandleUcciCommand(Engine& e, const std::vector<std::string>& w, const std::string& line) {
  const std::string& c = w[0];
  if (c == "ucci") {
    Send(e.output, std::string("id name ") + EngineName);
    Send(e.output, std::string("id author ") + EngineAuthor);
    Send(e.output, "option usemillisec type check default false");
    Send(e.output, "option Difficulty type spin min 0 max 4 default " + std::to_string(DefaultDifficulty));
    Send(e.output, "option newgame type button");
    Send(e.output, "ucciok");
  } else if (c == "isready") {
    Send(e.output, "readyok");
  } else if (c == "position" || c == "fen") {
    FinishSearch(e, false);
    SetUpPositionCommand(e, w, c == "fen" ? 0 : 1);
  } else if (c == "banmoves") {
    FinishSearch(e, false);
    UcciBanMoves(e, w);
  } else if (c == "go") {
    FinishSearch(e, false);
    UcciGo(e, w);
  } else if (c == "stop") {
    if (SearchRunning(e.search)) StopSearch(e.search, false);
  } else if (c == "setoption") {
    UcciSetOption(e, w);
  } else if (c == "uccinewgame") {
    StartNewGame(e);
  } else if (c == "probe") {
    // The engine keeps no table of positions: it knows nothing more of any.
    Send(e.output, "pophash");
  } else if (c == "quit") {
    FinishSearch(e, false);
    Send(e.output, "bye");
    return false;
  } else if (c == "ponderhit") {
    // No pondering: the search already runs as a normal one.
  } else {
    Send(e.output, "info string unknown command: " + line);
  }
  return true;
}

}  // namespace rq
