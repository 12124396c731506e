// A program run as a child process, spoken to line by line over its standard input and output.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace rq::test {

class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0), dup2(out[1], 1);
      for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      execv(args[0], args.data());
      _exit(127);
    }
    close(in[0]), close(out[1]);
    toChild_ = in[1], fromChild_ = out[0];
    signal(SIGPIPE, SIG_IGN);
  }
  ~ChildProcess() {
    if (closeInput(), pid_ > 0 && !exited_ && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
    if (fromChild_ >= 0) close(fromChild_);
  }
  bool started() const { return pid_ > 0; }
  bool send(std::string line) { return line += '\n', write(toChild_, line.data(), line.size()) == static_cast<ssize_t>(line.size()); }
  // Closes the child's input, as a GUI that goes away would.
  void closeInput() { if (toChild_ >= 0) close(toChild_), toChild_ = -1; }
  // The next line, or false when none comes within `timeoutMs` or the output has ended.
  bool readLine(std::string& line, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t end;
    while ((end = buffer_.find('\n')) == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd p{fromChild_, POLLIN, 0};
      char chunk[4096];
      ssize_t n = 0;
      if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0 ||
          (n = read(fromChild_, chunk, sizeof chunk)) <= 0)
        return false;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
    lines.push_back(line = buffer_.substr(0, end));
    buffer_.erase(0, end + 1);
    return true;
  }
  // Reads until a line starting with `prefix`; false on time-out or end of output.
  bool waitFor(const std::string& prefix, std::string& line, int timeoutMs = 20000) {
    while (readLine(line, timeoutMs))
      if (line.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
  }
  // Waits for the child to end; its exit status, or -1 if it did not end in time.
  int waitExit(int timeoutMs) {
    int status = 0;
    for (int waited = 0; waited <= timeoutMs; waited += 10, usleep(10000))
      if (waitpid(pid_, &status, WNOHANG) == pid_)
        return exited_ = true, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return -1;
  }

  std::vector<std::string> lines;  // every line read so far

 private:
  pid_t pid_ = -1;
  int toChild_ = -1, fromChild_ = -1;
  bool exited_ = false;
  std::string buffer_;
};

}  // namespace rq::test
