#include "game/archive.h"

#include "game/game_file.h"
#include "game/safe_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <vector>

namespace rq {

namespace {

constexpr size_t CopyChunk = 4096;
// More than the longest record: 1000 history lines of 143 bytes and the rest.
constexpr off_t MaxRecordTail = 1 << 18;

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
  std::string name;
  int fd = -1;
  bool locked = false;
  bool created = false;  // this append made the file
  off_t lengthBefore = 0;

  // Opens (or creates) the archive and takes the lock; false when it cannot be opened.
  // A file that a failed first append removed while this one waited for the lock is
  // opened anew, so that no record goes into a file no longer in the folder.
  bool open(const std::string& archiveName) {
    name = archiveName;
    for (int attempt = 0; attempt < 100; ++attempt) {
      fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0666);
      created = fd >= 0;
      if (!created && errno == EEXIST) fd = ::open(name.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
      if (fd < 0) return false;
      // Without the lock the bytes go out all the same, as a copy that cannot lock them would.
      locked = lockWhole(fd, F_WRLCK);
      struct stat st;
      const bool known = ::fstat(fd, &st) == 0;
      lengthBefore = known ? st.st_size : 0;
      if (!known || st.st_nlink > 0) return true;
      ::close(fd);
    }
    fd = -1;
    return false;
  }

  // Ends the append, `written` telling whether every byte went out: a record that did not
  // reach the disk whole is cut off again before the lock is let go, and a file this
  // append made is removed again. The outcome.
  bool close(bool written) {
    const bool ok = written && ::fsync(fd) == 0;
    if (!ok) {
      (void)::ftruncate(fd, lengthBefore);
      if (created && lengthBefore == 0) ::unlink(name.c_str());
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

// The archive may be large: the tail is read in growing steps from the end until it holds
// the start of the last record, never more than the largest record a game can make.
bool ReadLastArchivedGame(const std::string& archiveName, int32_t& number, std::string& savedAt) {
  const int fd = ::open(archiveName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  const off_t size = ::fstat(fd, &st) == 0 ? st.st_size : 0;
  bool found = false;
  std::string tail;
  for (off_t want = CopyChunk; !found && static_cast<off_t>(tail.size()) < size; want *= 2) {
    const off_t from = size > want ? size - want : 0;
    tail.assign(static_cast<size_t>(size - from), '\0');
    ssize_t n = 0;
    size_t got = 0;
    while (got < tail.size() && (n = ::pread(fd, &tail[got], tail.size() - got, from + static_cast<off_t>(got))) > 0)
      got += static_cast<size_t>(n);
    if (got < tail.size()) break;
    // A record's first line, at the start of the file or of a line.
    for (size_t at = tail.rfind(GameFileMagic); !found && at != std::string::npos;
         at = at == 0 ? std::string::npos : tail.rfind(GameFileMagic, at - 1)) {
      if ((at > 0 || from == 0) && (at == 0 || tail[at - 1] == '\n'))
        found = ParseGameHeader(tail.data() + at, tail.size() - at, number, savedAt);
    }
    if (want >= MaxRecordTail) break;
  }
  ::close(fd);
  return found;
}

// Newest block first: a failed append of an older release may have left the newest empty.
int32_t LastArchivedGameNumber(const char* computerName) {
  DIR* folder = ::opendir(".");
  if (folder == nullptr) return 0;
  std::vector<int32_t> blocks;
  while (const dirent* entry = ::readdir(folder)) {
    int32_t first = 0;
    if (std::sscanf(entry->d_name, "Games%d-", &first) == 1 && ArchiveFileName(first, computerName) == entry->d_name)
      blocks.push_back(first);
  }
  ::closedir(folder);
  std::sort(blocks.begin(), blocks.end(), std::greater<int32_t>());
  int32_t number = 0;
  std::string savedAt;
  for (const int32_t first : blocks)
    if (ReadLastArchivedGame(ArchiveFileName(first, computerName), number, savedAt)) return number;
  return 0;
}

}  // namespace rq
