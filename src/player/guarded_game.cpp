#include "player/guarded_game.h"

#include <chrono>

#include "player/search.h"

namespace rq {

GuardedGame::GuardedGame() {
  clock.owner = this;
}

void GuardedGame::resetForNewGame(int side) {
  searchRequested = false;
  stopRequested = false;
  gameEnded = false;
  resigned = false;
  searching = false;
  hintSearch = false;
  progress = 0.0;
  usersTurn = side == Red;
  computerSide = side == Red ? Green : Red;
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
  return UnderGameLock(*game, [&] { return game->stopRequested; });
}

}  // namespace

void SearchWorkerMain(GuardedGame* game) {
  for (;;) {
    bool request = false;
    bool hint = false;
    uint32_t hintNumber = 0;
    {
      GameLockGuard hold(*game);
      if (game->workerQuit) return;
      request = game->searchRequested;
      hint = request && game->hintSearch;
      hintNumber = game->hintAsked;
      if (request) {
        game->searchRequested = false;
        game->searching = true;
      }
      if (hint) {
        game->hintRecord.copyGameFrom(game->record);
        game->hintRecord.searchClock = &game->clock;
      }
    }
    if (!request) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      continue;
    }

    DeepeningLimits limits;
    int side = Red;
    {
      GameLockGuard hold(*game);
      game->clock.budgetSeconds = game->thinkSeconds;
      game->clock.stop = false;
      game->clock.activeBudget = true;
      game->clock.started = false;
      limits.thinkSeconds = game->thinkSeconds;
      limits.firstTimedDepth = game->firstTimedDepth;
      side = hint ? game->playerSide() : game->computerSide;
      if (!hint) game->noMoves = false;
    }

    uint8_t noMoves = 0;
    DeepeningHooks hooks;
    hooks.context = game;
    hooks.stopRequested = stopRequestedUnderLock;
    // The progress display of the computer's next search must not start from the hint's.
    const double rootFraction = SearchClock::rootFraction;
    const SearchResult result = IterativeDeepening(hint ? game->hintRecord : game->record, side, limits, noMoves, hooks);

    GameLockGuard hold(*game);
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
  GameLockGuard hold(game);
  game.usersTurn = false;
  PostSearchRequest(game, false);
}

uint32_t RequestHint(GuardedGame& game) {
  GameLockGuard hold(game);
  PostSearchRequest(game, true);
  if (++game.hintAsked == 0) game.hintAsked = 1;  // 0 stands for no request
  return game.hintAsked;
}

// On the user's turn a search can only be a hint's, so the stop cannot reach the computer's.
void StopHint(GuardedGame& game) {
  GameLockGuard hold(game);
  if (!game.hintSearch || !game.usersTurn) return;
  if (game.searchRequested) {
    game.searchRequested = false;
  } else if (game.searching) {
    game.clock.stop = true;
    game.stopRequested = true;
  }
  game.hintSearch = false;
}

void StopSearch(GuardedGame& game) {
  {
    GameLockGuard hold(game);
    game.clock.stop = true;
    game.stopRequested = true;
    // A request not yet taken is withdrawn, so no search can start on a record being saved or reset.
    game.searchRequested = false;
  }
  while (UnderGameLock(game, [&] { return game.searching; })) {
  }
}

void EndSearchWorker(GuardedGame& game, std::thread& worker) {
  StopSearch(game);
  UnderGameLock(game, [&] { game.workerQuit = true; });
  if (worker.joinable()) worker.join();
}

}  // namespace rq
