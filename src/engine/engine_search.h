// The engine's search thread: the game's iterative deepening with protocol limits and stops.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <cstdint>
#include <mutex>
#include <thread>

#include "engine/engine_game.h"
#include "player/search.h"
#include "player/search_clock.h"
#include "player/strong_search.h"

namespace rq {

// The move the engine answers with.
struct SearchOutcome {
  bool hasMove = false;   // false: the side to move has no permitted move
  Move move;
  bool fallback = false;  // the search gave nothing usable and the first permitted move stands in
};

// Calls from the search thread into the protocol; either may be null.
struct SearchCallbacks {
  void* context = nullptr;
  void (*iteration)(void* context, const IterationReport& report) = nullptr;
  void (*finished)(void* context, const SearchOutcome& outcome) = nullptr;
};

// Carries the stop; the engine shows no progress, so it keeps no shared progress state.
class EngineClock : public SearchClock {
 public:
  bool reportProgress(double x) override;
};

struct EngineSearch {
  EngineClock clock;
  std::thread thread;
  std::atomic<bool> stopRequested{false};
  std::atomic<bool> discard{false};   // the answer is no longer wanted
  std::atomic<bool> finished{true};
  std::mutex waitMutex;
  std::condition_variable waitForStop;

  // Set before the thread starts; the thread owns `game` until it is joined.
  EngineGame* game = nullptr;
  SearchPlan plan;
  // The strong search, made with its table before the first search that plays it, and kept.
  std::unique_ptr<StrongSearch> strong;
  std::atomic<bool> useStrong{true};  // off: the game's plain levels play a GUI's time or depth too
  RootMoveRules rootRules;
  SearchCallbacks callbacks;

  // Written by the search thread only.
  SearchOutcome lastIteration;
  bool haveIteration = false;

  EngineSearch() = default;
  EngineSearch(const EngineSearch&) = delete;
  EngineSearch& operator=(const EngineSearch&) = delete;
  ~EngineSearch();
};

// Starts a search for the side to move of `game` under the plan's limits and the rules for
// its first ply; no search may be running.
void StartSearch(EngineSearch& search, EngineGame& game, const SearchPlan& plan, const RootMoveRules& rootRules,
                 const SearchCallbacks& callbacks);

// Lets the searches from the next one on play a GUI's time or depth with the strong search,
// or with the game's plain levels.
void UseStrongSearch(EngineSearch& search, bool on);
// Makes the strong search's table once; the handshake does it, so no GUI clock pays for it.
void PrepareStrongSearch(EngineSearch& search);

// Asks a running search to answer now (or, with `discard`, to end without answering).
void StopSearch(EngineSearch& search, bool discard);

// Waits until the search thread has ended; afterwards the game may be used again.
void JoinSearch(EngineSearch& search);

// Whether a search is still thinking or waiting for a stop.
bool SearchRunning(const EngineSearch& search);

// The move to answer with after a search: the search's result when the rules permit it,
// else the first permitted move; never one of `banned` (may be null).
SearchOutcome ChooseMove(GameRecord& record, int side, bool haveResult, const SearchOutcome& result,
                         const RootMoveRules::List* banned = nullptr);

}  // namespace rq
