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
  hintSearch = false;
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
    const bool hint = request && game->hintSearch;
    const uint32_t hintNumber = game->hintAsked;
    if (request) {
      game->searchRequested = false;
      game->searching = true;
    }
    if (hint) {
      game->hintRecord.copyGameFrom(game->record);
      game->hintRecord.searchClock = &game->clock;
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
    const int side = hint ? Red : game->computerSide;
    if (!hint) game->noMoves = false;
    UnlockGame(*game);

    uint8_t noMoves = 0;
    DeepeningHooks hooks;
    hooks.context = game;
    hooks.stopRequested = stopRequestedUnderLock;
    // The progress display of the computer's next search must not start from the hint's.
    const double rootFraction = SearchClock::rootFraction;
    const SearchResult result = IterativeDeepening(hint ? game->hintRecord : game->record, side, limits, noMoves, hooks);

    LockGame(*game);
    if (hint) {
      SearchClock::rootFraction = rootFraction;
      game->hintMove = result;
      game->hintAnswered = hintNumber;
    } else {
      game->record.depthLimit = game->record.depthLimit - 1;
      game->bestMove = result;
      game->noMoves = noMoves != 0;
      game->progress = 1.0;
    }
    game->searching = false;
    UnlockGame(*game);
  }
}

// Hands the worker a search, the computer's or a hint's; the lock is held.
static void PostSearchRequest(GuardedGame& game, bool hint) {
  game.hintSearch = hint;
  game.progress = 0.0;
  game.searchRequested = true;
  game.stopRequested = false;
}

void RequestComputerMove(GuardedGame& game) {
  LockGame(game);
  game.usersTurn = false;
  PostSearchRequest(game, false);
  UnlockGame(game);
}

uint32_t RequestHint(GuardedGame& game) {
  LockGame(game);
  PostSearchRequest(game, true);
  if (++game.hintAsked == 0) game.hintAsked = 1;  // 0 stands for no request
  const uint32_t number = game.hintAsked;
  UnlockGame(game);
  return number;
}

// On the user's turn a search can only be a hint's, so the stop cannot reach the computer's.
void StopHint(GuardedGame& game) {
  LockGame(game);
  if (game.hintSearch && game.usersTurn) {
    if (game.searchRequested) {
      game.searchRequested = false;
    } else if (game.searching) {
      game.clock.stop = true;
      game.stopRequested = true;
    }
    game.hintSearch = false;
  }
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
