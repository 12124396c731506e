// Everything the drawing thread and the search worker share, behind one lock.
#pragma once

#include <cstdint>
#include <thread>

#include "player/game_lock.h"
#include "player/search_clock.h"
#include "rules/game_record.h"

namespace rq {

struct GuardedGame {
  GameLock lock;
  SearchClock clock;
  GameRecord record;
  bool searchRequested = false;
  bool stopRequested = false;
  bool gameEnded = false;
  uint8_t computerSide = Green;
  bool searching = false;
  bool usersTurn = true;
  double progress = 0.0;
  Move bestMove;
  // Level 1 until the settings apply theirs, so a search never starts without limits.
  double thinkSeconds = 1.0;
  int32_t firstTimedDepth = 5;
  bool noMoves = false;
  bool generalCaptured = false;
  bool workerQuit = false;  // asks the worker to leave its loop at shut-down

  explicit GuardedGame(const char* lockName = "Vardo");
  GuardedGame(const GuardedGame&) = delete;
  GuardedGame& operator=(const GuardedGame&) = delete;

  // Flags, clock link and opening position of a new game; no search may be running.
  void resetForNewGame();
};

void LockGame(GuardedGame& game);
void UnlockGame(GuardedGame& game);

// The worker thread's loop: takes requests, searches, publishes the answer.
void SearchWorkerMain(GuardedGame* game);

// Asks the worker for the computer's move (one locked section).
void RequestComputerMove(GuardedGame& game);

// Withdraws a pending request and stops a running search; returns once no search runs.
// The caller must not hold the lock.
void StopSearch(GuardedGame& game);

// Stops any search and ends the worker thread, waiting for it.
void EndSearchWorker(GuardedGame& game, std::thread& worker);

}  // namespace rq
