// The game lock "Vardo": the one lock of the game's two threads, re-entrant for the thread
// that holds it. It spans this process only: a copy of the game never waits for another.
#pragma once

#include <mutex>

namespace rq {

// The game lock's name.
inline constexpr const char* kGameLockName = "Vardo";

class GameLock {
 public:
  explicit GameLock(const char* lockName = kGameLockName) : name(lockName) {}
  GameLock(const GameLock&) = delete;
  GameLock& operator=(const GameLock&) = delete;

  void lock() { mutex_.lock(); }
  void unlock() { mutex_.unlock(); }

  const char* const name;

 private:
  std::recursive_mutex mutex_;
};

}  // namespace rq
