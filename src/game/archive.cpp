#include "game/archive.h"

#include "game/safe_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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

// The archive open for appending one record, locked whole, and its length before it.
struct OpenArchive {
  int fd = -1;
  bool locked = false;
  off_t lengthBefore = 0;

  // Opens (or creates) the archive and takes the lock; false when it cannot be opened.
  bool open(const std::string& name) {
    fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    // Without the lock the bytes go out all the same, as a copy that cannot lock them would.
    locked = lockWhole(fd, F_WRLCK);
    struct stat st;
    lengthBefore = ::fstat(fd, &st) == 0 ? st.st_size : 0;
    return true;
  }

  // Ends the append, `written` telling whether every byte went out: a record that did not
  // reach the disk whole is cut off again before the lock is let go. The outcome.
  bool close(bool written) {
    const bool ok = written && ::fsync(fd) == 0;
    if (!ok) {
      (void)::ftruncate(fd, lengthBefore);
      ::fsync(fd);
    }
    if (locked) lockWhole(fd, F_UNLCK);
    ::close(fd);
    return ok;
  }
};

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
  OpenArchive archive;
  if (!archive.open(archiveName)) {
    ::close(source);
    return false;
  }
  char buffer[CopyChunk];
  ssize_t n = 0;
  do {
    n = ReadSome(source, buffer, sizeof buffer);
  } while (n > 0 && WriteAll(archive.fd, buffer, static_cast<size_t>(n)));
  ::close(source);
  // Only the end of the source ends the copy with n at 0; a read or write error leaves it otherwise.
  return archive.close(n == 0);
}

bool AppendRecordToArchive(const std::string& archiveName, const std::string& record) {
  OpenArchive archive;
  if (!archive.open(archiveName)) return false;
  return archive.close(WriteAll(archive.fd, record.data(), record.size()));
}

}  // namespace rq
