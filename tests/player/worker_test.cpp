// The search worker, its stop and the game lock shared across processes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "player/guarded_game.h"
#include "player/search.h"
#include "support/environment.h"
#include "support/record_helpers.h"

namespace rq {
namespace {

using Clock = std::chrono::steady_clock;

std::string UniqueLockName(const char* what) {
  return std::string("ravenquill-test-") + what + "-" + std::to_string(getpid());
}

struct Flags { bool requested, searching, usersTurn; };

Flags ReadFlags(GuardedGame& g) {
  LockGame(g);
  Flags f{g.searchRequested, g.searching, g.usersTurn};
  UnlockGame(g);
  return f;
}

// A game with its worker running, ended cleanly however the test leaves.
struct RunningGame {
  explicit RunningGame(const char* what) : name(UniqueLockName(what)), game(std::make_unique<GuardedGame>(name.c_str())) {
    game->resetForNewGame();
    worker = std::thread(SearchWorkerMain, game.get());
  }
  ~RunningGame() { EndSearchWorker(*game, worker); }
  std::string name;
  std::unique_ptr<GuardedGame> game;
  std::thread worker;
};

// A request is taken, thought over and answered, or cut short by a stop; the record is left as it was.
TEST(Worker, RequestThinkingAnswerAndStop) {
  for (bool stop : {false, true}) {
    RunningGame run(stop ? "stop" : "handoff");
    GuardedGame& g = *run.game;
    int side = Red;
    std::string error;
    ASSERT_TRUE(LoadFen(g.record, "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 b - - 0 1", side, error));
    const test::Snapshot before(g.record);
    LockGame(g);
    g.thinkSeconds = stop ? 60.0 : 0.1;
    g.firstTimedDepth = stop ? 30 : 3;
    UnlockGame(g);
    RequestComputerMove(g);
    bool sawThinking = false;
    const auto start = Clock::now();
    for (Flags f = ReadFlags(g); f.requested || f.searching; f = ReadFlags(g)) {
      // While a request is pending or running, one of the two flags is always set.
      EXPECT_FALSE(f.usersTurn);
      sawThinking |= f.searching && !f.requested;
      ASSERT_LT(Clock::now() - start, std::chrono::seconds(20));
      if (stop && sawThinking && Clock::now() - start > std::chrono::milliseconds(400)) {
        const auto asked = Clock::now();
        StopSearch(g);
        EXPECT_LT(Clock::now() - asked, std::chrono::seconds(5));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_TRUE(sawThinking);
    LockGame(g);
    if (!stop) EXPECT_TRUE(IsBoardMove(g.bestMove) && !g.noMoves && g.progress == 1.0 && g.record.depthLimit >= 3);
    EXPECT_TRUE(test::Snapshot(g.record) == before);
    UnlockGame(g);
  }
}

// A request the worker has not yet taken is withdrawn by the stop: no search starts later.
TEST(Worker, StopWithdrawsAPendingRequest) {
  RunningGame run("withdraw");
  GuardedGame& g = *run.game;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  RequestComputerMove(g);
  StopSearch(g);
  const Move before = g.bestMove;
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  const Flags f = ReadFlags(g);
  EXPECT_FALSE(f.requested);
  EXPECT_FALSE(f.searching);
  LockGame(g);
  EXPECT_EQ(g.bestMove.to, before.to);
  EXPECT_EQ(g.progress, 0.0);
  UnlockGame(g);
}

// The lock is shared by two processes: while one holds it the other waits.
TEST(Worker, TwoProcessesShareTheLock) {
  const std::string name = UniqueLockName("shared");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    GameLock lock(name.c_str());
    lock.lock();
    lock.lock();  // re-entrant for its holder
    const char byte = 1;
    (void)!write(ready[1], &byte, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    lock.unlock();
    lock.unlock();
    _exit(0);
  }
  char byte;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  GameLock lock(name.c_str());
  const auto start = Clock::now();
  lock.lock();
  const auto waited = Clock::now() - start;
  lock.unlock();
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_GE(waited, std::chrono::milliseconds(400));
  EXPECT_TRUE(WIFEXITED(status));
  unlink(GameLock::LockFilePath(name.c_str()).c_str());
}

// In the shared /tmp only a private regular file of this user serves as the lock; what
// another user could plant there makes the lock fail instead of being used.
TEST(Worker, LockFileInASharedFolderIsPrivate) {
  const std::string runtime = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
  unsetenv("XDG_RUNTIME_DIR");
  const std::string name = UniqueLockName("private");
  const std::string path = GameLock::LockFilePath(name.c_str()), target = path + ".target";
  ASSERT_EQ(path.rfind("/tmp/", 0), 0u);
  // Makes a file at `at` with `mode`, given to `owner` (-1: ours).
  const auto file = [](const std::string& at, mode_t mode, int owner) {
    const int fd = open(at.c_str(), O_CREAT | O_WRONLY, 0600);
    const bool made = fd >= 0 && fchmod(fd, mode) == 0 && (owner < 0 || fchown(fd, owner, owner) == 0);
    if (fd >= 0) close(fd);
    return made;
  };
  const struct Case {
    const char* what;
    std::function<bool()> plant;
    bool ready;
  } cases[] = {
      {"nothing there: made for this user alone", [] { return true; }, true},
      {"our own private file", [&] { return file(path, 0600, -1); }, true},
      {"a link to a file of ours", [&] { return file(target, 0600, -1) && symlink(target.c_str(), path.c_str()) == 0; }, false},
      {"a file of another user", [&] { return file(path, 0600, 65534); }, false},
      {"our file that others may open", [&] { return file(path, 0644, -1); }, false},
      {"a folder", [&] { return mkdir(path.c_str(), 0700) == 0; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    unlink(path.c_str());
    rmdir(path.c_str());
    unlink(target.c_str());
    if (!c.plant()) {
      test::MissingEnvironment(std::string("needs root: ") + c.what);
      continue;
    }
    GameLock lock(name.c_str());
    EXPECT_EQ(lock.Ready(), c.ready);
    struct stat st;
    if (c.ready && lstat(path.c_str(), &st) == 0) EXPECT_EQ(st.st_mode & 07777, 0600u);
  }
  unlink(path.c_str());
  rmdir(path.c_str());
  unlink(target.c_str());
  if (!runtime.empty()) setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

}  // namespace
}  // namespace rq
