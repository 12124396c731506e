// Turns what a protocol asks of a search (depth, time per move, clock) into its limits.
#pragma once

#include <cstdint>

namespace rq {

// What a "go" asks for; the clock fields belong to the side the engine searches for.
struct GoRequest {
  int32_t depth = 0;          // 0: no depth limit asked
  int64_t moveTimeMs = -1;    // -1: no fixed time per move
  int64_t remainingMs = -1;   // -1: no clock
  int64_t incrementMs = 0;
  int32_t movesToGo = 0;      // 0: the rest of the game
  bool infinite = false;
};

struct SearchPlan {
  double thinkSeconds = 1.0;      // no new iteration starts after this
  int32_t firstTimedDepth = 5;    // depths below it always run (unless cut by the hard limit)
  int32_t maxDepth = 98;
  int32_t hardLimitMs = -1;       // an iteration still running then is cut; -1: none
  bool infinite = false;          // the answer waits for a stop
};

// Time kept back from every budget for the protocol's round trip and a late stop.
constexpr int64_t MoveOverheadMs = 60;

// The limits for one search at the given difficulty level (0..4).
SearchPlan PlanSearch(const GoRequest& request, int32_t level);

}  // namespace rq
