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

  // Hands a progress value 0..1 to the owner's crystal ball, if there is an owner.
  void publishProgress(double value);

  bool activeBudget = false;
  int32_t startTime = 0;
  bool started = false;
  double budgetSeconds = 0.0;
  std::atomic<bool> stop{false};   // set by the drawing thread under the lock, read by the search without it
  GuardedGame* owner = nullptr;
  int32_t (*now)() = nullptr;      // the process clock; tests put their own in its place

  // How far the last search got through the root once its budget had run out.
  static double rootFraction;
};

// The one clock that times a search: the one planted in `clock`, else the process clock.
using MillisecondClock = int32_t (*)();
MillisecondClock SearchTimeSource(const SearchClock* clock);

}  // namespace rq
