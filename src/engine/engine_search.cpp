#include "engine/engine_search.h"

#include <algorithm>

#include "player/clock.h"

namespace rq {
namespace {

// Between iterations: a stop, or a next iteration that could not end before the hard limit.
bool StopBetweenIterations(void* context) {
  auto* s = static_cast<EngineSearch*>(context);
  if (s->stopRequested.load() || s->clock.stop.load()) return true;
  if (s->plan.hardLimitMs < 0) return false;
  const int32_t elapsed = ElapsedMilliseconds() - s->startMs;
  // An iteration that the hard limit would cut only burns clock.
  return elapsed + PredictNextIterationMs(s->iterationMs, s->lastDepth) > s->plan.hardLimitMs;
}

// Keeps each whole iteration's move and time, and passes it on to the protocol.
void IterationDone(void* context, const IterationReport& report) {
  auto* s = static_cast<EngineSearch*>(context);
  if (report.depth > 0 && report.depth < MaxSearchPly) {
    s->iterationMs[report.depth] = report.elapsedMs - s->previousElapsedMs;
    s->lastDepth = report.depth;
  }
  s->previousElapsedMs = report.elapsedMs;
  if (IsBoardMove(report.result)) {
    s->lastIteration.hasMove = true;
    s->lastIteration.move = report.result;
    s->lastIteration.score = report.result.status;
    s->lastIteration.depth = report.depth;
    s->haveIteration = true;
  }
  if (s->callbacks.iteration) s->callbacks.iteration(s->callbacks.context, report);
}

// A stop asked for; the strong search keeps its time by itself.
bool StopRequested(void* context) {
  auto* s = static_cast<EngineSearch*>(context);
  return s->stopRequested.load() || s->clock.stop.load();
}

// The search thread: deepening, the choice of the answer, and the answer itself.
void SearchMain(EngineSearch* s) {
  GameRecord& r = *s->game->record;
  const int side = s->game->sideToMove;
  r.searchClock = &s->clock;
  DeepeningLimits limits;
  limits.thinkSeconds = s->plan.thinkSeconds;
  limits.firstTimedDepth = s->plan.firstTimedDepth;
  limits.maxDepth = s->plan.maxDepth;
  DeepeningHooks hooks;
  hooks.context = s;
  hooks.stopRequested = StopBetweenIterations;
  hooks.iterationDone = IterationDone;
  uint8_t noMoves = 0;
  if (s->useStrong.load() && s->strong) {
    // The hard limit is the strong search's ceiling; it judges by itself when to stop deepening.
    StrongLimits strong;
    strong.maxDepth = std::min(s->plan.maxDepth, StrongMaxDepth);
    const int32_t sinceStart = ElapsedMilliseconds() - s->startMs;
    if (s->plan.hardLimitMs >= 0) strong.ceilingMs = std::max(s->plan.hardLimitMs - sinceStart, 1);
    else if (s->plan.firstTimedDepth < MaxSearchPly) strong.ceilingMs = static_cast<int32_t>(s->plan.thinkSeconds * 1000);
    hooks.stopRequested = StopRequested;
    s->strong->run(r, side, strong, noMoves, hooks);
  } else {
    IterativeDeepening(r, side, limits, noMoves, hooks);
  }
  r.searchClock = nullptr;
  // Only whole iterations are trusted: a cut one may hold a move whose reply was never searched.
  SearchOutcome outcome = ChooseMove(r, side, s->haveIteration, s->lastIteration);

  if (s->plan.infinite) {
    std::unique_lock<std::mutex> hold(s->waitMutex);
    s->waitForStop.wait(hold, [s] { return s->stopRequested.load(); });
  }
  if (!s->discard.load() && s->callbacks.finished) s->callbacks.finished(s->callbacks.context, outcome);
  s->finished = true;
}

}  // namespace

bool EngineClock::reportProgress(double) {
  if (deadlineMs >= 0 && !stop.load(std::memory_order_relaxed) && ElapsedMilliseconds() >= deadlineMs)
    stop = true;
  return stop.load(std::memory_order_relaxed);
}

int32_t PredictNextIterationMs(const int32_t* iterationMs, int32_t lastDepth) {
  if (lastDepth <= 0) return 0;
  const int64_t last = iterationMs[lastDepth];
  int64_t next = 5 * last;
  // Without move ordering by score the growth alternates: an even depth may cost fifty
  // times the odd one before it. The growth over two plies, seen one ply back, catches that.
  if (lastDepth >= 4) {
    const int64_t back = iterationMs[lastDepth - 1] > 0 ? iterationMs[lastDepth - 1] : 1;
    const int64_t backTwo = iterationMs[lastDepth - 3] > 0 ? iterationMs[lastDepth - 3] : 1;
    next = std::max(next, 2 * back * back / backTwo);
  }
  return static_cast<int32_t>(std::min<int64_t>(next, 1 << 30));
}

SearchOutcome ChooseMove(GameRecord& record, int side, bool haveResult, const SearchOutcome& result) {
  SearchOutcome outcome;
  if (haveResult && result.hasMove && IsPermitted(record, side, result.move)) {
    outcome = result;
    Move safe;
    // A shallow result may walk into an attack that a permitted move avoids.
    if (LeavesGeneralAttacked(record, side, outcome.move) && FirstPermittedMove(record, side, safe) &&
        !LeavesGeneralAttacked(record, side, safe)) {
      outcome.move = safe;
      outcome.fallback = true;
    }
    outcome.move.captured = 0;
    return outcome;
  }
  Move first;
  if (FirstPermittedMove(record, side, first)) {
    outcome.hasMove = true;
    outcome.move = first;
    outcome.move.captured = 0;
    outcome.fallback = true;
  }
  return outcome;
}

void StartSearch(EngineSearch& s, EngineGame& game, const SearchPlan& plan, const SearchCallbacks& callbacks) {
  JoinSearch(s);
  s.game = &game;
  s.plan = plan;
  s.callbacks = callbacks;
  s.startMs = ElapsedMilliseconds();
  s.clock.deadlineMs = plan.hardLimitMs >= 0 ? s.startMs + plan.hardLimitMs : -1;
  s.clock.stop = false;
  s.stopRequested = false;
  s.discard = false;
  s.haveIteration = false;
  s.lastIteration = SearchOutcome();
  for (int32_t& ms : s.iterationMs) ms = 0;
  s.lastDepth = 0;
  s.previousElapsedMs = 0;
  s.finished = false;
  s.thread = std::thread(SearchMain, &s);
}

void UseStrongSearch(EngineSearch& s, bool on) {
  if (on && !s.strong) s.strong = std::make_unique<StrongSearch>();
  s.useStrong = on;
}

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
