// Scratch ground for tests: a private working directory, whole-file reads and writes, and
// a full disk.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace rq::test {

// A fresh directory, the working directory while the object lives.
class ScratchDirectory {
 public:
  ScratchDirectory() : old_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "rq-test-XXXXXX").string();
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    path = pattern;
    std::filesystem::current_path(path);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(old_, ignored);
    std::filesystem::remove_all(path, ignored);
  }
  // Empties the directory for the next case.
  void Clear() const {
    for (const auto& entry : std::filesystem::directory_iterator(path)) std::filesystem::remove_all(entry.path());
  }
  std::filesystem::path path;

 private:
  std::filesystem::path old_;
};

// Whole files, as bytes; a missing file reads as empty.
inline std::string ReadFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}
inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Caps the size of the files this process writes while it lives, as a full disk would.
class FileSizeCap {
 public:
  explicit FileSizeCap(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &old_);
    const rlimit cap{bytes, old_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &cap);
  }
  ~FileSizeCap() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, handler_);
  }

 private:
  void (*handler_)(int);
  rlimit old_{};
};

}  // namespace rq::test
