#include "player/game_lock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace rq {

std::string GameLock::LockFilePath(const char* name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/" + name + ".lock";
  return "/tmp/" + std::string(name) + "-" + std::to_string(getuid()) + ".lock";
}

GameLock::GameLock(const char* name) {
  fd_ = ::open(LockFilePath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

GameLock::~GameLock() {
  if (fd_ >= 0) ::close(fd_);
}

// The file lock is taken when the outermost level is entered and left with it.
void GameLock::lock() {
  mutex_.lock();
  if (++depth_ == 1 && fd_ >= 0) {
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
}

void GameLock::unlock() {
  if (--depth_ == 0 && fd_ >= 0) ::flock(fd_, LOCK_UN);
  mutex_.unlock();
}

}  // namespace rq
