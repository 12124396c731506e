#include "game/archive.h"

#include "game/safe_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace rq {

namespace {

constexpr size_t CopyChunk = 4096;

// The whole file, and any length it grows to, for writing.
bool lockWhole(int fd, short type) {
  struct flock range {};
  range.l_type = type;
  range.l_whence = SEEK_SET;
  range.l_start = 0;
  range.l_len = 0;
  while (::fcntl(fd, F_SETLKW, &range) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

std::string ArchiveFileName(int32_t gameNumber, const char* computerName) {
  // 64 bits, so that the block of the largest game numbers has a last number too.
  const int64_t block = (static_cast<int64_t>(gameNumber) - 1) / 100;
  return "Games" + std::to_string(100 * block + 1) + "-" + std::to_string(100 * block + 100) + "_" + computerName +
         ".vrd5";
}

bool AppendFileToArchive(std::string archiveName, std::string sourceName) {
  const int source = ::open(sourceName.c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) return false;
  const int archive = ::open(archiveName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (archive < 0) {
    ::close(source);
    return false;
  }
  // Without the lock the bytes go out all the same, as a copy that cannot lock them would.
  const bool locked = lockWhole(archive, F_WRLCK);
  bool ok = true;
  char buffer[CopyChunk];
  for (;;) {
    const ssize_t n = ::read(source, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    if (!WriteAll(archive, buffer, static_cast<size_t>(n))) {
      ok = false;
      break;
    }
  }
  if (locked) lockWhole(archive, F_UNLCK);
  ok = ::close(archive) == 0 && ok;
  ::close(source);
  return ok;
}

}  // namespace rq
