// The whole game application, headless: the fake desktop in a scratch working directory.
#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "game/current_game.h"
#include "game/safe_file.h"
#include "game/settings.h"
#include "game_test_support.h"
#include "support/fake_platform.h"

namespace rq::test {

class GameAppTest : public ::testing::Test {
 protected:
  GameAppTest() { platform.loadableCursorFiles.insert("arrowcop.cur"); }

  // The settings file the next start reads.
  void PrepareSettings(bool hint, int level) {
    SettingsValues v;
    v.hintAtStartup = hint;
    v.difficultyLevel = level;
    WriteFile(SettingsFileName("TESTBOX"), FormatSettings(v));
  }

  GameApplication& Start() {
    app = std::make_unique<GameApplication>(platform, lock.name());
    return *app;
  }
  void Stop() { app.reset(); }

  // Starts and stops the program in a child process that runs as "nobody" when the tests
  // run as root, owning the directory and its files, so that permission bits bite.
  bool StartAndStopUnprivileged() {
    const passwd* nobody = getpwnam("nobody");
    const std::string here = std::filesystem::current_path().string();
    const pid_t pid = fork();
    if (pid == 0) {
      bool ok = geteuid() != 0 || nobody != nullptr;
      if (ok && geteuid() == 0) {
        for (const auto& entry : std::filesystem::directory_iterator("."))
          ok = ok && lchown(entry.path().c_str(), nobody->pw_uid, nobody->pw_gid) == 0;
        ok = ok && chown(".", nobody->pw_uid, nobody->pw_gid) == 0 && setgroups(0, nullptr) == 0 &&
             setgid(nobody->pw_gid) == 0 && setuid(nobody->pw_uid) == 0;
      }
      setenv("XDG_RUNTIME_DIR", here.c_str(), 1);  // where "nobody" may make the lock file
      if (ok) {
        Start();
        Stop();
      }
      _exit(ok ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  std::string CurrentFile() const { return ReadFile(CurrentGameFileName("TESTBOX")); }

  ScratchDirectory dir;
  ScratchLock lock;
  FakePlatform platform;
  std::unique_ptr<GameApplication> app;
};

// Everything of the game that a shut-down and a start must carry over, as text.
inline std::string GameState(GameApplication& app) {
  LockGame(app.game);
  const GameRecord& r = app.game.record;
  std::string state = FormatGameFile(*DataOf(r, app.gameNumber));
  state.append(reinterpret_cast<const char*>(r.pieceSquare), sizeof r.pieceSquare);
  state.append(reinterpret_cast<const char*>(app.savedBoard.squares), BoardSquares);
  state += std::to_string(r.endPly) + " " + std::to_string(app.eatenRedCount) + " " +
           std::to_string(app.eatenGreenCount);
  UnlockGame(app.game);
  return state;
}

// A fresh game numbered `number` at the opening position, the user to move.
inline void ExpectFreshGame(GameApplication& app, int32_t number) {
  EXPECT_EQ(app.gameNumber, number);
  auto fresh = std::make_unique<GameRecord>();
  std::string expected = FormatGameFile(*DataOf(*fresh, number));
  expected.append(reinterpret_cast<const char*>(fresh->pieceSquare), sizeof fresh->pieceSquare);
  expected.append(reinterpret_cast<const char*>(StartSquares), BoardSquares);
  expected += std::to_string(NoEndPly) + " 0 0";
  EXPECT_EQ(GameState(app), expected);
  EXPECT_TRUE(Locked(app, [](GuardedGame& g) { return g.usersTurn && !g.gameEnded && !g.searchRequested; }));
}

}  // namespace rq::test
