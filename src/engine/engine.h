// The engine program's state and its one entry: a line of protocol input.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine_game.h"
#include "engine/engine_output.h"
#include "engine/engine_search.h"

namespace rq {

constexpr const char* EngineName = "Ravenquill 1.0";
constexpr const char* EngineAuthor = "the Ravenquill developers";
constexpr int32_t DefaultDifficulty = 1;

enum class ProtocolMode { Undecided, Uci, Xboard };

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
};

struct Engine {
  EngineOutput output;
  EngineGame game;
  EngineSearch search;
  ProtocolMode mode = ProtocolMode::Undecided;
  int32_t difficulty = DefaultDifficulty;
  XboardState xboard;
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

// The option that plays with the strong search instead of the game's levels.
constexpr const char* StrongSearchOption = "StrongSearch";
void SetStrongSearch(Engine& engine, bool on);

// Protocol handlers; each is given the split words of a non-empty line.
bool HandleUciCommand(Engine& engine, const std::vector<std::string>& words, const std::string& line);
bool HandleXboardCommand(Engine& engine, const std::vector<std::string>& words, const std::string& line);
bool IsUciCommand(const std::string& word);
bool IsXboardCommand(const std::string& word);

}  // namespace rq
