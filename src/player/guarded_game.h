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
  bool resigned = false;  // the player gave the game up; it has ended
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
  // The pending request is the player's hint, not the computer's move. A hint is searched on a
  // record of its own, so the game's record, its history and its random draws stay as they
  // were and the computer's next search is the one it would have been without the hint.
  bool hintSearch = false;
  uint32_t hintAsked = 0;     // number of the latest hint request
  uint32_t hintAnswered = 0;  // number of the request whose answer hintMove holds
  Move hintMove;
  GameRecord hintRecord;

  GuardedGame();
  GuardedGame(const GuardedGame&) = delete;
  GuardedGame& operator=(const GuardedGame&) = delete;

  // Flags, clock link and opening position of a new game in which the player has
  // `playerSide`; no search may be running. Red moves first: with the player green the
  // turn is the computer's, and the caller asks it for its move.
  void resetForNewGame(int playerSide = Red);

  // The side the player has in this game: the other one than the computer's.
  int playerSide() const { return computerSide == Green ? Red : Green; }
};

// Takes the game lock, waiting without a time-out, and lets it go again; re-entrant.
void LockGame(GuardedGame& game);
void UnlockGame(GuardedGame& game);

// Holds the game lock for its scope, so that no return can leave the lock taken.
class GameLockGuard {
 public:
  explicit GameLockGuard(GuardedGame& game) : game_(game) { LockGame(game_); }
  ~GameLockGuard() { UnlockGame(game_); }
  GameLockGuard(const GameLockGuard&) = delete;
  GameLockGuard& operator=(const GameLockGuard&) = delete;

 private:
  GuardedGame& game_;
};

// Runs `section` under the game lock and returns what it returns: a short locked section
// as one expression.
template <typename Section>
auto UnderGameLock(GuardedGame& game, Section section) -> decltype(section()) {
  GameLockGuard hold(game);
  return section();
}

// The worker thread's loop: takes requests, searches, publishes the answer.
void SearchWorkerMain(GuardedGame* game);

// Asks the worker for the computer's move (one locked section).
void RequestComputerMove(GuardedGame& game);

// Asks the worker for the player's best move in the game's position; returns the request's number.
uint32_t RequestHint(GuardedGame& game);

// Withdraws a hint not yet taken and cuts a hint search short. It does not wait: the hint's
// record is the worker's alone, and the worker serves the next request only after it.
void StopHint(GuardedGame& game);

// Withdraws a pending request and stops a running search; returns once no search runs.
// The caller must not hold the lock.
void StopSearch(GuardedGame& game);

// Stops any search and ends the worker thread, waiting for it.
void EndSearchWorker(GuardedGame& game, std::thread& worker);

}  // namespace rq
