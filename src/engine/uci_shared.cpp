// What UCI and UCCI have in common: positions, the words of "go", thinking lines, options.
#include "engine/engine.h"
#include "rules/notation.h"

namespace rq {

void SetUpPositionCommand(Engine& e, const std::vector<std::string>& w, size_t at) {
  size_t i = at;
  std::string fen;
  if (i < w.size() && w[i] == "startpos") {
    ++i;
  } else if (i < w.size() && w[i] == "fen") {
    for (++i; i < w.size() && w[i] != "moves"; ++i) fen += (fen.empty() ? "" : " ") + w[i];
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
  // Banned moves belong to the position they were given for.
  e.bannedMoves.count = 0;
  for (++i; i < w.size(); ++i) {
    if (!PlayMoveText(e.game, w[i], error)) {
      Send(e.output, "info string illegal move " + w[i] + " (" + error + "); position set up to the move before");
      return;
    }
  }
}

bool GoValue(Engine& e, const std::vector<std::string>& w, size_t& i, int64_t low, int64_t high, int64_t& out) {
  if (i + 1 >= w.size() || !ParseNumber(w[i + 1], low, high, out)) {
    Send(e.output, "info string bad value for " + w[i] + " in go");
    if (i + 1 < w.size()) ++i;
    return false;
  }
  ++i;
  return true;
}

void UnservedGoKeyword(Engine& e, const std::vector<std::string>& w, size_t& i) {
  const std::string& k = w[i];
  int64_t value = 0;
  if (k == "nodes" || k == "mate") {
    GoValue(e, w, i, 0, int64_t(1) << 40, value);
    Send(e.output, "info string " + k + " is not supported");
  } else if (k == "ponder") {
    Send(e.output, "info string ponder is not supported");
  } else if (k == "searchmoves") {
    Send(e.output, "info string searchmoves is not supported");
    int from = 0, to = 0;
    while (i + 1 < w.size() && ParseMove(w[i + 1], from, to)) ++i;
  } else {
    Send(e.output, "info string unknown go parameter " + k);
  }
}

void StartGo(Engine& e, const GoRequest& q, const SearchCallbacks& callbacks, const char* noMove) {
  if (e.game.record->anyGeneralTaken()) {
    Send(e.output, "info string the game is over: a general has been taken");
    Send(e.output, noMove);
    return;
  }
  StartEngineSearch(e, PlanSearch(q, e.difficulty), callbacks);
}

std::string InfoLine(const IterationReport& report, const std::string& score, bool withNps) {
  const long long ms = report.elapsedMs > 0 ? report.elapsedMs : 0;
  std::string line = "info depth " + std::to_string(report.depth) + " score " + score + " nodes " +
                     std::to_string(report.nodes);
  if (withNps) line += " nps " + std::to_string(report.nodes * 1000 / static_cast<unsigned long long>(ms > 0 ? ms : 1));
  line += " time " + std::to_string(ms);
  const std::string pv = FormatLine(*report.line);
  if (!pv.empty()) line += " pv " + pv;
  return line;
}

void SplitOption(const std::vector<std::string>& w, bool named, std::string& name, std::string& value) {
  size_t i = 1;
  if (named) {
    // setoption name <id> [value <x>]; names may hold blanks.
    if (i < w.size() && w[i] == "name") ++i;
    for (; i < w.size() && w[i] != "value"; ++i) name += (name.empty() ? "" : " ") + w[i];
    ++i;
  } else if (i < w.size()) {
    // setoption <id> [<x>]: one word of name, the rest its value.
    name = w[i++];
  }
  for (; i < w.size(); ++i) value += (value.empty() ? "" : " ") + w[i];
}

void StartNewGame(Engine& e) {
  FinishSearch(e, false);
  std::string error;
  SetUpGame(e.game, "", error);
  e.bannedMoves.count = 0;
}

bool SetDifficulty(Engine& e, const std::string& value) {
  int64_t level = 0;
  if (!ParseNumber(value, 0, 4, level)) {
    Send(e.output, "info string Difficulty takes 0 to 4, not '" + value + "'");
    return false;
  }
  e.difficulty = static_cast<int32_t>(level);
  return true;
}

}  // namespace rq
