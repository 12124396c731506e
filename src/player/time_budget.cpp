#include "player/time_budget.h"

#include <algorithm>

#include "player/search_clock.h"

namespace rq {
namespace {

constexpr int32_t DeepestDepth = MaxSearchPly - 2;  // the rules engine keeps the last slots
constexpr int32_t SuddenDeathMoves = 50;            // moves a game without a control is planned for
constexpr int64_t LatencyReserveMoves = 50;         // moves whose round trips the clock keeps back
constexpr int64_t LateReadMs = 250;                 // the most a fixed time per move keeps back for a late GUI

constexpr int32_t StrongCeilingsMs[LastStrongLevel - FirstStrongLevel + 1] = {1000, 3000, 10000};

int32_t Clamp32(int64_t ms) { return static_cast<int32_t>(std::clamp<int64_t>(ms, 1, 1 << 30)); }

// The longest one move may think with `ms` to spend on it alone: besides the round trip, a
// fifth (at most LateReadMs) is kept back for a GUI that reads the answer late (XBoard on a
// busy machine, a quarter of a second).
int64_t CeilingFor(int64_t ms) {
  const int64_t reserve = MoveOverheadMs + std::min<int64_t>(ms / 5, LateReadMs);
  return ms > 2 * reserve ? ms - reserve : ms / 2;
}

}  // namespace

int32_t StrongLevelCeilingMs(int32_t level) {
  return level >= FirstStrongLevel && level <= LastStrongLevel ? StrongCeilingsMs[level - FirstStrongLevel] : -1;
}

void DifficultyLimits(int32_t level, double& thinkSeconds, int32_t& firstTimedDepth) {
  static const double seconds[HighestPlainLevel + 1] = {0.1, 1.0, 3.0, 6.0, 12.0};
  static const int32_t depths[HighestPlainLevel + 1] = {4, 5, 6, 7, 8};
  if (StrongLevelCeilingMs(level) >= 0) {
    thinkSeconds = StrongLevelCeilingMs(level) / 1000.0;
    firstTimedDepth = 2;
    return;
  }
  if (level < 0 || level > HighestPlainLevel) level = 1;
  thinkSeconds = seconds[level];
  firstTimedDepth = depths[level];
}

SearchPlan PlanSearch(const GoRequest& q, int32_t level) {
  SearchPlan p;
  DifficultyLimits(level, p.thinkSeconds, p.firstTimedDepth);
  // A strong level promises its time to whoever reads the answer, so it keeps back what a GUI's
  // time per move does.
  const int32_t levelCeiling = StrongLevelCeilingMs(level);
  p.levelCeilingMs = levelCeiling >= 0 ? Clamp32(CeilingFor(levelCeiling)) : -1;
  p.maxDepth = q.depth > 0 ? std::min(q.depth, DeepestDepth) : DeepestDepth;

  if (q.infinite) {
    p.infinite = true;
    p.firstTimedDepth = MaxSearchPly;
    return p;
  }
  if (q.moveTimeMs >= 0) {
    // A ceiling, not a target.
    p.hardLimitMs = Clamp32(CeilingFor(q.moveTimeMs));
    // From the second iteration on, none starts past half the limit: it would rarely end in time.
    p.thinkSeconds = p.hardLimitMs * 0.5 / 1000.0;
    p.firstTimedDepth = 2;
    return p;
  }
  if (q.remainingMs >= 0) {
    const int64_t remaining = q.remainingMs;
    const int32_t movesToGo = q.movesToGo > 0 ? std::min(q.movesToGo, 50) : SuddenDeathMoves;
    if (movesToGo == 1) {
      // The last move before the control: no later move needs what is left.
      p.hardLimitMs = Clamp32(CeilingFor(remaining));
      p.thinkSeconds = std::min(p.thinkSeconds, p.hardLimitMs / 1000.0);
      return p;
    }
    // Every move costs the round trip however little it thinks: keep that back for the
    // moves to come, or a long game without increment runs out of clock at the end.
    const int64_t reserve = std::min<int64_t>(remaining / 2, LatencyReserveMoves * MoveOverheadMs);
    const int64_t usable = std::max<int64_t>(remaining - reserve - MoveOverheadMs, 0);
    // No single move may take more than this share of what is left.
    const double share = movesToGo == 2 ? 0.45 : 0.33;
    const int64_t target = usable / movesToGo + q.incrementMs * 3 / 4;
    // An iteration cut at the hard limit is lost whole, so the limit stays near the target.
    const int64_t hard = std::min<int64_t>(target * 3 / 2, static_cast<int64_t>(usable * share));
    p.hardLimitMs = Clamp32(hard);
    // The level keeps its own pace while the clock allows it.
    p.thinkSeconds = std::min(p.thinkSeconds, std::min<int64_t>(target, p.hardLimitMs) / 1000.0);
    return p;
  }
  if (q.depth > 0) p.firstTimedDepth = MaxSearchPly;
  return p;
}

SearchDeadline::SearchDeadline(const DeepeningLimits& limits, const SearchClock* clock)
    : limits_(limits),
      hardLimitMs_(limits.hardLimitMs),
      now_(SearchTimeSource(clock)),
      stop_(clock != nullptr ? &clock->stop : nullptr),
      startMs_(now_()),
      lastEndMs_(startMs_) {}

bool SearchDeadline::mayStartIteration(int32_t depth) const {
  if (depth <= 1) return true;
  const int32_t elapsed = elapsedMs();
  if (depth >= limits_.firstTimedDepth && elapsed >= limits_.thinkSeconds * 1000.0) return false;
  if (hardLimitMs_ < 0) return true;
  // An iteration that the hard limit would cut only burns clock. The guess stands on the
  // iteration that has just ended and those before it.
  return elapsed + predictIterationMs(depth - 1) <= hardLimitMs_;
}

void SearchDeadline::iterationEnded(int32_t depth) {
  const int32_t end = now_();
  if (depth > 0 && depth < MaxSearchPly) iterationMs_[depth] = end - lastEndMs_;
  lastEndMs_ = end;
}

// How long the iteration after `depth` may take, from the times of `depth` and before.
int32_t SearchDeadline::predictIterationMs(int32_t depth) const {
  if (depth <= 0) return 0;
  const int64_t last = iterationMs_[depth];
  int64_t next = 5 * last;
  // Without move ordering by score the growth alternates: an even depth may cost fifty
  // times the odd one before it. The growth over two plies, seen one ply back, catches that.
  if (depth >= 4) {
    const int64_t back = iterationMs_[depth - 1] > 0 ? iterationMs_[depth - 1] : 1;
    const int64_t backTwo = iterationMs_[depth - 3] > 0 ? iterationMs_[depth - 3] : 1;
    next = std::max(next, 2 * back * back / backTwo);
  }
  return static_cast<int32_t>(std::min<int64_t>(next, 1 << 30));
}

}  // namespace rq
