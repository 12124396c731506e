#include "player/clock.h"

#include <chrono>

namespace rq {

// Milliseconds since the first call; steady, so a changed wall clock never disturbs a budget.
int32_t ElapsedMilliseconds() {
  using Clock = std::chrono::steady_clock;
  static const Clock::time_point start = Clock::now();
  return static_cast<int32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

}  // namespace rq
