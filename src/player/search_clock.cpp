#include "player/search_clock.h"

#include <cmath>

#include "player/clock.h"
#include "player/guarded_game.h"

namespace rq {

double SearchClock::rootFraction = 0.0;

// 0 to 0.5 in proportion to the time budget, then 0.5 towards 1 as the deeper
// iterations get through the root's pieces; never moves back within a budget.
bool SearchClock::reportProgress(double x) {
  const int32_t nowMs = SearchTimeSource(this)();
  double value;
  if (activeBudget) {
    if (!started) {
      startTime = nowMs;
      started = true;
    }
    const double elapsed = (nowMs - startTime) * 0.001;
    if (elapsed > budgetSeconds || budgetSeconds <= 0.0) {
      activeBudget = false;
      value = 0.5;
      rootFraction = 0.0;
    } else {
      value = elapsed / budgetSeconds * 0.5;
    }
  } else {
    const int n = static_cast<int>(x);
    if (n == 0) {
      if (x > rootFraction) rootFraction = x;
    } else if (n == 1) {
      const double y = std::trunc(rootFraction * 33.0) / 33.0 + (x - 1.0) / 33.0;
      if (y > rootFraction) rootFraction = y;
    }
    value = (rootFraction + 1.0) * 0.5;
  }
  publishProgress(value);
  return stop.load(std::memory_order_relaxed);
}

void SearchClock::publishProgress(double value) {
  if (owner) UnderGameLock(*owner, [&] { owner->progress = value; });
}

MillisecondClock SearchTimeSource(const SearchClock* clock) {
  return clock != nullptr && clock->now != nullptr ? clock->now : ElapsedMilliseconds;
}

}  // namespace rq
