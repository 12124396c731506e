#include "engine/time_budget.h"

#include <algorithm>

#include "player/search.h"

namespace rq {
namespace {

constexpr int32_t DeepestDepth = MaxSearchPly - 2;  // the rules engine keeps the last slots
constexpr int32_t SuddenDeathMoves = 50;            // moves a game without a control is planned for
constexpr int64_t LatencyReserveMoves = 50;         // moves whose round trips the clock keeps back

int32_t Clamp32(int64_t ms) { return static_cast<int32_t>(std::clamp<int64_t>(ms, 1, 1 << 30)); }

}  // namespace

SearchPlan PlanSearch(const GoRequest& q, int32_t level) {
  SearchPlan p;
  DifficultyLimits(level, p.thinkSeconds, p.firstTimedDepth);
  p.maxDepth = q.depth > 0 ? std::min(q.depth, DeepestDepth) : DeepestDepth;

  if (q.infinite) {
    p.infinite = true;
    p.firstTimedDepth = MaxSearchPly;
    return p;
  }
  if (q.moveTimeMs >= 0) {
    // A ceiling, not a target: besides the round trip, a twentieth is kept back for a GUI
    // that reads the answer late (XBoard under load, tens of milliseconds).
    const int64_t reserve = MoveOverheadMs + q.moveTimeMs / 20;
    const int64_t hard = q.moveTimeMs > 2 * reserve ? q.moveTimeMs - reserve : q.moveTimeMs / 2;
    p.hardLimitMs = Clamp32(hard);
    p.thinkSeconds = p.hardLimitMs * 0.5 / 1000.0;
    p.firstTimedDepth = 2;
    return p;
  }
  if (q.remainingMs >= 0) {
    const int64_t remaining = q.remainingMs;
    // Every move costs the round trip however little it thinks: keep that back for the
    // moves to come, or a long game without increment runs out of clock at the end.
    const int64_t reserve = std::min<int64_t>(remaining / 2, LatencyReserveMoves * MoveOverheadMs);
    const int64_t usable = std::max<int64_t>(remaining - reserve - MoveOverheadMs, 0);
    const int32_t movesToGo = q.movesToGo > 0 ? std::min(q.movesToGo, 50) : SuddenDeathMoves;
    // No single move may take more than this share of what is left.
    const double share = movesToGo == 1 ? 0.6 : movesToGo == 2 ? 0.45 : 0.33;
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

}  // namespace rq
