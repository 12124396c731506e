// The game lock "Vardo": re-entrant for the thread that holds it, and shared by every
// running copy of the program of the same user, as a named mutex is.
#pragma once

#include <mutex>
#include <string>

namespace rq {

// The name every copy of the game locks under.
inline constexpr const char* kGameLockName = "Vardo";

class GameLock {
 public:
  explicit GameLock(const char* name);
  ~GameLock();
  GameLock(const GameLock&) = delete;
  GameLock& operator=(const GameLock&) = delete;

  void lock();
  void unlock();

  // Whether the lock file is open: without it the lock would hold only in this process,
  // so the program must not run on it.
  bool Ready() const { return fd_ >= 0; }

  // Where the lock file of `name` lives: $XDG_RUNTIME_DIR, else /tmp with the user's id.
  static std::string LockFilePath(const char* name);

 private:
  std::recursive_mutex mutex_;
  int depth_ = 0;   // guarded by mutex_
  int fd_ = -1;     // -1 when the lock file could not be opened safely
};

}  // namespace rq
