// Programs the tests start: run in the background, spoken to line by line, waited for within
// a limit; and the output of shell commands.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace rq::test {

using namespace std::chrono_literals;

// Output of a shell command without its trailing blanks, or empty.
inline std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
    char buf[512];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

// Starts `argv` in `dir`, its input and output on `in` and `out` or on /dev/null; its id.
inline pid_t Spawn(const std::vector<std::string>& argv, const std::string& dir = "", int in = -1, int out = -1) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(127);
  const int devnull = open("/dev/null", O_RDWR);
  dup2(in >= 0 ? in : devnull, 0);
  dup2(out >= 0 ? out : devnull, 1);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

// Waits up to `limit` for `done`; whether it came.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  for (const auto end = std::chrono::steady_clock::now() + limit; !done(); std::this_thread::sleep_for(20ms))
    if (std::chrono::steady_clock::now() > end) return false;
  return true;
}

// The child's wait status once it ends within `limit`, else -1.
inline int WaitFor(pid_t pid, std::chrono::milliseconds limit) {
  int status = -1;
  return WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, limit) ? status : -1;
}

// A program on the other end of two pipes, as a GUI runs an engine.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = Spawn(argv, "", in[0], out[1]);
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
    signal(SIGPIPE, SIG_IGN);
  }
  ~ChildProcess() {
    closeInput();
    if (pid_ > 0 && !exited_ && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
    if (fromChild_ >= 0) close(fromChild_);
  }
  bool started() const { return pid_ > 0; }
  bool send(std::string line) {
    line += '\n';
    return write(toChild_, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  }
  // Closes the child's input, as a GUI that goes away would.
  void closeInput() {
    if (toChild_ < 0) return;
    close(toChild_);
    toChild_ = -1;
  }
  // The next line, or false when none comes within `timeoutMs` or the output has ended.
  bool readLine(std::string& line, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (size_t end; (end = buffer_.find('\n')) != std::string::npos || fill(deadline);) {
      if (end == std::string::npos) continue;
      line = buffer_.substr(0, end);
      lines.push_back(line);
      buffer_.erase(0, end + 1);
      return true;
    }
    return false;
  }
  // Reads until a line starting with `prefix`; false on time-out or end of output.
  bool waitFor(const std::string& prefix, std::string& line, int timeoutMs = 20000) {
    while (readLine(line, timeoutMs))
      if (line.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
  }
  // The child's exit status (128 + signal when killed), or -1 if it did not end in time.
  int waitExit(int timeoutMs) {
    const int status = WaitFor(pid_, std::chrono::milliseconds(timeoutMs));
    if (status == -1) return -1;
    exited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  std::vector<std::string> lines;  // every line read so far

 private:
  // More output before `deadline`; false at the deadline or the end of output.
  bool fill(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{fromChild_, POLLIN, 0};
    char chunk[4096];
    ssize_t n = 0;
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
    if ((n = read(fromChild_, chunk, sizeof chunk)) <= 0) return false;
    buffer_.append(chunk, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int toChild_ = -1, fromChild_ = -1;
  bool exited_ = false;
  std::string buffer_;
};

}  // namespace rq::test
