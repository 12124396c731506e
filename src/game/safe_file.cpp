#include "game/safe_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rq {

namespace {

// Makes the rename itself durable; a failure here leaves the new file in place all the same.
void syncDirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Whether anything, even a dangling link, has that name.
bool exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// Whether `path` is missing or may be written; the rename needs only the directory's
// permission, so a file that refuses writing would otherwise be replaced all the same.
bool writableOrMissing(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  ::close(fd);
  return true;
}

}  // namespace

// The process id keeps two running copies from sharing one temporary file.
std::string TempFileName(const std::string& path) { return path + ".tmp." + std::to_string(::getpid()); }

bool ReplaceFileContents(const std::string& path, const std::string& bytes, int& error) {
  error = 0;
  if (!writableOrMissing(path)) {
    error = errno;
    return false;
  }
  const std::string temp = TempFileName(path);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = errno;
    return false;
  }
  // The first failure names the cause; the steps after it still run to close the file.
  const auto step = [&](bool ok) {
    if (!ok && error == 0) error = errno;
  };
  step(WriteAll(fd, bytes.data(), bytes.size()));
  step(::fsync(fd) == 0);
  step(::close(fd) == 0);
  if (error == 0) step(::rename(temp.c_str(), path.c_str()) == 0);
  if (error == 0) {
    syncDirectoryOf(path);
    return true;
  }
  ::unlink(temp.c_str());
  return false;
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes) {
  int error = 0;
  return ReplaceFileContents(path, bytes, error);
}

void RemoveAbandonedTempFiles(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + ".tmp.";
  DIR* listing = ::opendir(dir.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    const char* name = entry->d_name;
    if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0) continue;
    const char* digits = name + prefix.size();
    char* end = nullptr;
    errno = 0;
    const long pid = std::strtol(digits, &end, 10);
    if (*digits < '1' || *digits > '9' || *end != '\0' || errno != 0 || pid > INT32_MAX) continue;
    // A process of another user that runs answers EPERM: it is alive too.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(::dirfd(listing), name, 0);
  }
  ::closedir(listing);
}

ReadOutcome ReadWholeFile(const std::string& path, size_t maxBytes, std::string& out) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Unreadable;
  char buffer[4096];
  ssize_t n = 0;
  while (out.size() < maxBytes && (n = ReadSome(fd, buffer, std::min(sizeof buffer, maxBytes - out.size()))) > 0)
    out.append(buffer, static_cast<size_t>(n));
  ::close(fd);
  return n >= 0 ? ReadOutcome::Read : ReadOutcome::Unreadable;
}

std::string SetFileAside(const std::string& path) {
  std::string aside = path + ".damaged";
  for (int n = 2; exists(aside) && n < 1000; ++n) aside = path + ".damaged-" + std::to_string(n);
  if (exists(aside) || ::rename(path.c_str(), aside.c_str()) != 0) return std::string();
  return aside;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

ssize_t ReadSome(int fd, char* buffer, size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

}  // namespace rq
