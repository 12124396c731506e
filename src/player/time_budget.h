// Every time decision of a search, in one place: the limits of a difficulty level or of a
// protocol's request, which iterations may start, and when a running one is cut.
#pragma once

#include <atomic>
#include <cstdint>

#include "rules/types.h"

namespace rq {

class SearchClock;

struct DeepeningLimits {
  double thinkSeconds = 1.0;            // no iteration from firstTimedDepth on starts after this
  int32_t firstTimedDepth = 5;          // shallower iterations always run, unless the hard limit cuts them
  int32_t maxDepth = MaxSearchPly - 1;  // tools and protocols may fix the depth; the game never does
  int32_t hardLimitMs = -1;             // an iteration still running then is cut; -1: none
};

// The difficulty levels: up to HighestPlainLevel the plain search at its own pace, above it
// the strong search under a time ceiling per move.
constexpr int32_t HighestPlainLevel = 4;
constexpr int32_t FirstStrongLevel = 5;
constexpr int32_t LastStrongLevel = 7;

// The ceiling of a strong level in milliseconds; -1 for any other level.
int32_t StrongLevelCeilingMs(int32_t level);

// Search limits of a difficulty level, a strong level's budget being its ceiling; any level
// outside 0..LastStrongLevel plays as level 1.
void DifficultyLimits(int32_t level, double& thinkSeconds, int32_t& firstTimedDepth);

// What a protocol's "go" asks for; the clock fields belong to the side the engine searches for.
struct GoRequest {
  int32_t depth = 0;          // 0: no depth limit asked
  int64_t moveTimeMs = -1;    // -1: no fixed time per move
  int64_t remainingMs = -1;   // -1: no clock
  int64_t incrementMs = 0;
  int32_t movesToGo = 0;      // 0: the rest of the game
  bool infinite = false;
};

// The limits of one search of the engine program.
struct SearchPlan : DeepeningLimits {
  bool infinite = false;        // the answer waits for a stop
  int32_t levelCeilingMs = -1;  // a strong level's time per move less the reserve for a late read; -1: another level
};

// Time kept back from every budget for the protocol's round trip and a late stop.
constexpr int64_t MoveOverheadMs = 60;

// The limits for one search at the given difficulty level.
SearchPlan PlanSearch(const GoRequest& request, int32_t level);

// The clock of one search under its limits. The deepening asks it before every iteration
// and tells it of every one that ends; the tree asks it before every move. All its times
// come from SearchTimeSource.
class SearchDeadline {
 public:
  // Starts timing now. A stop of `clock` (may be null) ends a search with a hard limit at
  // its next move, not only where the search reports its progress.
  SearchDeadline(const DeepeningLimits& limits, const SearchClock* clock);

  // Whether the iteration of `depth` may start; the first always does, so a move is found.
  bool mayStartIteration(int32_t depth) const;

  // The iteration of `depth` has ended, whole or cut.
  void iterationEnded(int32_t depth);

  // Whether a search with a hard limit must end now; asked before every move, it reads the
  // clock only every 1024 nodes.
  bool expired(uint64_t nodes) {
    if (hardLimitMs_ < 0) return false;
    if (expired_ || stopped()) return true;
    if ((nodes & 1023) != 0) return false;
    expired_ = now_() - startMs_ >= hardLimitMs_;
    return expired_;
  }

  // Whether the running iteration was cut short, by a stop or by the hard limit.
  bool cut() const { return expired_ || stopped(); }

  // Milliseconds from the start to the end of the last iteration.
  int32_t elapsedMs() const { return lastEndMs_ - startMs_; }

 private:
  bool stopped() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }
  int32_t predictIterationMs(int32_t depth) const;

  DeepeningLimits limits_;
  int32_t hardLimitMs_;
  int32_t (*now_)();
  const std::atomic<bool>* stop_;
  int32_t startMs_;
  int32_t lastEndMs_;
  bool expired_ = false;
  int32_t iterationMs_[MaxSearchPly] = {};  // how long each ended iteration took
};

}  // namespace rq
