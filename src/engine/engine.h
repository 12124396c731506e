// The engine program's state and its one entry: a line of protocol input.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine_game.h"
#include "engine/engine_output.h"
#include "engine/engine_search.h"

namespace rq {

constexpr const char* EngineName = "Ravenquill 1.0";
constexpr const char* EngineAuthor = "the Ravenquill developers";
constexpr int32_t DefaultDifficulty = 1;

enum class ProtocolMode { Undecided, Uci, Ucci, Xboard };

// A search's first move may be worse than the best by this much before the engine plays
// it into a repetition that another program judges lost (a third of a horse).
constexpr int32_t AdjudicationMargin = 90;

// What the xboard protocol has told the engine about the game and its clocks.
struct XboardState {
  bool forceMode = false;
  int engineSide = Green;
  std::atomic<bool> post{false};  // read by the search thread for its thinking lines
  int32_t depthLimit = 0;        // sd; 0 for none
  int64_t moveTimeMs = -1;       // st
  int32_t movesPerControl = 0;   // level: 0 for the whole game
  int64_t baseMs = -1;
  int64_t incrementMs = 0;
  int64_t engineClockMs = -1;    // time
  // A ping that comes while the engine thinks on its move is answered after the move.
  std::mutex pongMutex;
  bool thinking = false;
  std::vector<std::string> heldPongs;
};

// What UCCI has told the engine beyond what UCI says.
struct UcciState {
  bool milliseconds = false;  // usemillisec: times in milliseconds rather than seconds
};

struct Engine {
  EngineOutput output;
  EngineGame game;
  EngineSearch search;
  ProtocolMode mode = ProtocolMode::Undecided;
  int32_t difficulty = DefaultDifficulty;
  RootMoveRules::List bannedMoves;  // UCCI's banmoves, until the position changes
  XboardState xboard;
  UcciState ucci;
};

// Handles one line of input in whichever protocol the engine is spoken to;
// false once the engine must quit.
bool HandleEngineLine(Engine& engine, const std::string& line);

// Ends any search without an answer; afterwards the engine may be destroyed.
void ShutDownEngine(Engine& engine);

// Parses a whole decimal number within [low, high].
bool ParseNumber(const std::string& text, int64_t low, int64_t high, int64_t& out);

// Stops (or, with `discard`, cancels) any search and waits for its thread.
void FinishSearch(Engine& engine, bool discard);

// Starts the search for the side to move, keeping out the GUI's banned moves and, unless
// nothing else comes within the margin, repetitions another program judges lost.
void StartEngineSearch(Engine& engine, const SearchPlan& plan, const SearchCallbacks& callbacks);

// What UCI and UCCI share (uci_shared.cpp).
// "startpos" or "fen FEN" at words[at], then "moves ...": a bad FEN keeps the position, an
// illegal move stops the replay before it; both are said in an "info string" line.
void SetUpPositionCommand(Engine& engine, const std::vector<std::string>& words, size_t at);
// The number after the "go" keyword words[i], within [low, high]; a bad one is reported and skipped.
bool GoValue(Engine& engine, const std::vector<std::string>& words, size_t& i, int64_t low, int64_t high,
             int64_t& out);
// Reports a "go" keyword the engine does not serve and skips its argument, if it takes one.
void UnservedGoKeyword(Engine& engine, const std::vector<std::string>& words, size_t& i);
// Searches for a "go", or answers `noMove` at once when a general has been taken.
void StartGo(Engine& engine, const GoRequest& request, const SearchCallbacks& callbacks, const char* noMove);
// The "info depth" line of an iteration with its score as the protocol words it.
std::string InfoLine(const IterationReport& report, const std::string& score, bool withNps);
// The UCI "setoption name N value V" or UCCI "setoption N V" split into name and value.
void SplitOption(const std::vector<std::string>& words, bool named, std::string& name, std::string& value);
// Ends any search and sets up the start position for a new game.
void StartNewGame(Engine& engine);
// Sets the difficulty from an option's value; false after telling why it was refused.
bool SetDifficulty(Engine& engine, const std::string& value);

// Protocol handlers; each is given the split words of a non-empty line.
bool HandleUciCommand(Engine& engine, const std::vector<std::string>& words, const std::string& line);
bool HandleUcciCommand(Engine& engine, const std::vector<std::string>& words, const std::string& line);
bool HandleXboardCommand(Engine& engine, const std::vector<std::string>& words, const std::string& line);
bool IsUciCommand(const std::string& word);
bool IsUcciCommand(const std::string& word);
bool IsXboardCommand(const std::string& word);

}  // namespace rq
