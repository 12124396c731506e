// The progress clock through which the search reports how far it has come, and learns to stop.
#pragma once

#include <atomic>
#include <cstdint>

namespace rq {

struct GuardedGame;

class SearchClock {
 public:
  virtual ~SearchClock() = default;

  // Publishes the progress for position `x` in the tree (ply + pass + piece) and
  // answers whether the search must stop.
  virtual bool reportProgress(double x);

  // Whether the search must end now for its hard deadline (or a stop); asked before every
  // move once a deadline is set, it reads the clock only every 1024 nodes.
  bool pastDeadline(uint64_t nodes);

  // Hands a progress value 0..1 to the owner's crystal ball, if there is an owner.
  void publishProgress(double value);

  // The clock's time in milliseconds: the process clock, or the one a test put in its place.
  int32_t nowMs() const;

  bool activeBudget = false;
  int32_t startTime = 0;
  bool started = false;
  double budgetSeconds = 0.0;
  std::atomic<bool> stop{false};   // set by the drawing thread under the lock, read by the search without it
  GuardedGame* owner = nullptr;
  int32_t (*now)() = nullptr;      // the process clock; tests put their own in its place
  int32_t deadlineMs = -1;         // hard deadline on that clock, for the engine; -1: none

  // How far the last search got through the root once its budget had run out.
  static double rootFraction;
};

}  // namespace rq
