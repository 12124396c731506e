#include "engine/engine_search.h"

#include <algorithm>

namespace rq {
namespace {

// Keeps each whole iteration's move, and passes it on to the protocol.
void IterationDone(void* context, const IterationReport& report) {
  auto* s = static_cast<EngineSearch*>(context);
  if (IsBoardMove(report.result)) {
    s->lastIteration.hasMove = true;
    s->lastIteration.move = report.result;
    s->haveIteration = true;
  }
  if (s->callbacks.iteration) s->callbacks.iteration(s->callbacks.context, report);
}

// A strong level plays the strong search; so does any level when the GUI gives a time or a
// depth, unless the StrongSearch option was turned off. A bare "go" plays the game's level.
bool PlaysStrong(const EngineSearch& s) {
  const bool guiLimits = s.plan.hardLimitMs >= 0 || s.plan.firstTimedDepth >= MaxSearchPly;
  return s.plan.levelCeilingMs >= 0 || (s.useStrong.load() && guiLimits);
}

// The search thread: deepening, the choice of the answer, and the answer itself.
void SearchMain(EngineSearch* s) {
  GameRecord& r = *s->game->record;
  const int side = s->game->sideToMove;
  r.searchClock = &s->clock;
  r.rootRules = &s->rootRules;
  DeepeningHooks hooks;
  hooks.context = s;
  hooks.iterationDone = IterationDone;
  uint8_t noMoves = 0;
  if (PlaysStrong(*s)) {
    // The strong search judges by itself when to stop deepening under its ceiling: the GUI's
    // time, or a strong level's own when that is shorter.
    StrongLimits strong;
    strong.maxDepth = std::min(s->plan.maxDepth, StrongMaxDepth);
    strong.ceilingMs = s->plan.hardLimitMs;
    strong.hostJudgesRepetitions = true;
    const int32_t level = s->plan.levelCeilingMs;
    if (level >= 0 && !s->plan.infinite && (strong.ceilingMs < 0 || level < strong.ceilingMs)) strong.ceilingMs = level;
    s->strong->run(r, side, strong, noMoves, hooks);
  } else {
    IterativeDeepening(r, side, s->plan, noMoves, hooks);
  }
  r.searchClock = nullptr;
  r.rootRules = nullptr;
  // Only whole iterations are trusted: a cut one may hold a move whose reply was never searched.
  SearchOutcome outcome = ChooseMove(r, side, s->haveIteration, s->lastIteration, &s->rootRules.banned);

  if (s->plan.infinite) {
    std::unique_lock<std::mutex> hold(s->waitMutex);
    s->waitForStop.wait(hold, [s] { return s->stopRequested.load(); });
  }
  if (!s->discard.load() && s->callbacks.finished) s->callbacks.finished(s->callbacks.context, outcome);
  s->finished = true;
}

}  // namespace

bool EngineClock::reportProgress(double) { return stop.load(std::memory_order_relaxed); }

SearchOutcome ChooseMove(GameRecord& record, int side, bool haveResult, const SearchOutcome& result,
                         const RootMoveRules::List* banned) {
  SearchOutcome outcome;
  if (haveResult && result.hasMove && IsPermitted(record, side, result.move) &&
      (banned == nullptr || !banned->contains(result.move))) {
    outcome = result;
    Move safe;
    // A shallow result may walk into an attack that a permitted move avoids.
    if (LeavesGeneralAttacked(record, side, outcome.move) && FirstPermittedMove(record, side, safe, banned) &&
        !LeavesGeneralAttacked(record, side, safe)) {
      outcome.move = safe;
      outcome.fallback = true;
    }
    outcome.move.captured = 0;
    return outcome;
  }
  Move first;
  if (FirstPermittedMove(record, side, first, banned)) {
    outcome.hasMove = true;
    outcome.move = first;
    outcome.move.captured = 0;
    outcome.fallback = true;
  }
  return outcome;
}

void StartSearch(EngineSearch& s, EngineGame& game, const SearchPlan& plan, const RootMoveRules& rootRules,
                 const SearchCallbacks& callbacks) {
  JoinSearch(s);
  s.game = &game;
  s.plan = plan;
  if (PlaysStrong(s)) PrepareStrongSearch(s);
  s.rootRules = rootRules;
  s.callbacks = callbacks;
  s.clock.stop = false;
  s.stopRequested = false;
  s.discard = false;
  s.haveIteration = false;
  s.lastIteration = SearchOutcome();
  s.finished = false;
  s.thread = std::thread(SearchMain, &s);
}

void PrepareStrongSearch(EngineSearch& s) {
  if (!s.strong) s.strong = std::make_unique<StrongSearch>();
}

void UseStrongSearch(EngineSearch& s, bool on) { s.useStrong = on; }

void StopSearch(EngineSearch& s, bool discard) {
  if (discard) s.discard = true;
  {
    std::lock_guard<std::mutex> hold(s.waitMutex);
    s.stopRequested = true;
  }
  s.clock.stop = true;
  s.waitForStop.notify_all();
}

void JoinSearch(EngineSearch& s) {
  if (s.thread.joinable()) s.thread.join();
}

bool SearchRunning(const EngineSearch& s) { return !s.finished.load(); }

EngineSearch::~EngineSearch() {
  if (thread.joinable()) {
    StopSearch(*this, true);
    thread.join();
  }
}

}  // namespace rq
