#include "engine/engine.h"

#include <cerrno>
#include <cstdlib>

#include "rules/notation.h"

namespace rq {
namespace {

// Splits a line at blanks.
std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    size_t j = i;
    while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
    if (j > i) words.push_back(line.substr(i, j - i));
    i = j;
  }
  return words;
}

}  // namespace

bool ParseNumber(const std::string& text, int64_t low, int64_t high, int64_t& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < low || value > high) return false;
  out = value;
  return true;
}

void FinishSearch(Engine& engine, bool discard) {
  if (SearchRunning(engine.search)) StopSearch(engine.search, discard);
  JoinSearch(engine.search);
}

void SetStrongSearch(Engine& engine, bool on) { UseStrongSearch(engine.search, on); }
void StartEngineSearch(Engine& engine, const SearchPlan& plan, const SearchCallbacks& callbacks) {
  RootMoveRules rules;
  rules.banned = engine.bannedMoves;
  FindAdjudicatedRepetitions(engine.game, rules.discouraged);
  rules.margin = AdjudicationMargin;
  StartSearch(engine.search, engine.game, plan, rules, callbacks);
}

bool HandleEngineLine(Engine& engine, const std::string& text) {
  // Lines from a Windows GUI end in "\r"; blanks at the end never mean anything.
  const size_t end = text.find_last_not_of(" \t\r\n");
  const std::string line = end == std::string::npos ? std::string() : text.substr(0, end + 1);
  const std::vector<std::string> words = SplitWords(line);
  if (words.empty()) return true;
  const std::string& command = words[0];
  if (engine.mode == ProtocolMode::Undecided) {
    if (command == "quit") return false;
    // The first command that belongs to one protocol settles which one is spoken.
    if (IsXboardCommand(command)) engine.mode = ProtocolMode::Xboard;
    else if (IsUcciCommand(command)) engine.mode = ProtocolMode::Ucci;
    else if (IsUciCommand(command)) engine.mode = ProtocolMode::Uci;
    else {
      Send(engine.output, "Error (unknown command): " + command);
      return true;
    }
    PrepareStrongSearch(engine.search);
  }
  if (engine.mode == ProtocolMode::Uci) return HandleUciCommand(engine, words, line);
  if (engine.mode == ProtocolMode::Ucci) return HandleUcciCommand(engine, words, line);
  return HandleXboardCommand(engine, words, line);
}

void ShutDownEngine(Engine& engine) { FinishSearch(engine, true); }

}  // namespace rq
