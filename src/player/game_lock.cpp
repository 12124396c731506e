#include "player/game_lock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rq {

namespace {

// Opens the lock file in a folder that other users may share (/tmp): never through a
// link, and only a regular file of this user that nobody else can open, so that no one
// else can pre-create it, redirect it, or hold the lock to freeze the game.
int OpenPrivateLockFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
      (st.st_mode & 077) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string GameLock::LockFilePath(const char* name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/" + name + ".lock";
  return "/tmp/" + std::string(name) + "-" + std::to_string(getuid()) + ".lock";
}

GameLock::GameLock(const char* name) : fd_(OpenPrivateLockFile(LockFilePath(name))) {}

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
