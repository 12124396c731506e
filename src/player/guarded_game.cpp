#include "player/guarded_game.h"

#include <chrono>

#include "player/search.h"

namespace rq {

GuardedGame::GuardedGame(const char* lockName) : lock(lockName) {
  clock.owner = this;
}

void GuardedGame::resetForNewGame() {
  searchRequested = false;
  stopRequested = false;
  gameEnded = false;
  searching = false;
  progress = 0.0;
  usersTurn = true;
  computerSide = Green;
  clock.owner = this;
  record.searchClock = &clock;
  record.newGame();
  record.depthLimit = 6;
}

void LockGame(GuardedGame& game) { game.lock.lock(); }

void UnlockGame(GuardedGame& game) { game.lock.unlock(); }

namespace {

bool stopRequestedUnderLock(void* context) {
  auto* game = static_cast<GuardedGame*>(context);
  LockGame(*game);
  const bool stop = game->stopRequested;
  UnlockGame(*game);
  return stop;
}

}  // namespace

void SearchWorkerMain(GuardedGame* game) {
  for (;;) {
    LockGame(*game);
    if (game->workerQuit) {
      UnlockGame(*game);
      return;
    }
    const bool request = game->searchRequested;
    if (request) {
      game->searchRequested = false;
      game->searching = true;
    }
    UnlockGame(*game);
    if (!request) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      continue;
    }

    LockGame(*game);
    game->clock.budgetSeconds = game->thinkSeconds;
    game->clock.stop = false;
    game->clock.activeBudget = true;
    game->clock.started = false;
    DeepeningLimits limits;
    limits.thinkSeconds = game->thinkSeconds;
    limits.firstTimedDepth = game->firstTimedDepth;
    const int side = game->computerSide;
    game->noMoves = false;
    UnlockGame(*game);

    uint8_t noMoves = 0;
    DeepeningHooks hooks;
    hooks.context = game;
    hooks.stopRequested = stopRequestedUnderLock;
    const SearchResult result = IterativeDeepening(game->record, side, limits, noMoves, hooks);

    LockGame(*game);
    game->record.depthLimit = game->record.depthLimit - 1;
    game->bestMove = result;
    game->noMoves = noMoves != 0;
    game->progress = 1.0;
    game->searching = false;
    UnlockGame(*game);
  }
}

void RequestComputerMove(GuardedGame& game) {
  LockGame(game);
  game.usersTurn = false;
  game.progress = 0.0;
  game.searchRequested = true;
  game.stopRequested = false;
  UnlockGame(game);
}

void StopSearch(GuardedGame& game) {
  LockGame(game);
  game.clock.stop = true;
  game.stopRequested = true;
  // A request not yet taken is withdrawn, so no search can start on a record being saved or reset.
  game.searchRequested = false;
  UnlockGame(game);
  for (;;) {
    LockGame(game);
    const bool searching = game.searching;
    UnlockGame(game);
    if (!searching) return;
  }
}

void EndSearchWorker(GuardedGame& game, std::thread& worker) {
  StopSearch(game);
  LockGame(game);
  game.workerQuit = true;
  UnlockGame(game);
  if (worker.joinable()) worker.join();
}

}  // namespace rq
