// Helpers of the game tests: a scratch working directory, files, the golden game, and
// moves made as the interaction makes them.
#pragma once

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "game/game_application.h"
#include "game/game_file.h"
#include "player/game_lock.h"
#include "player/search.h"
#include "support/record_helpers.h"

namespace rq::test {

// A fresh directory made the working directory for the test's lifetime.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rq-game-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : ".";
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(old_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  std::string path_;
  std::filesystem::path old_;
};

// A game lock of this test alone; its lock file is removed afterwards.
class ScratchLock {
 public:
  ScratchLock() : name_("rq-game-test-" + std::to_string(getpid())) {}
  ~ScratchLock() { std::remove(GameLock::LockFilePath(name_.c_str()).c_str()); }
  const char* name() const { return name_.c_str(); }

 private:
  std::string name_;
};

// Caps the size of the files this process writes, as a full disk would.
class FileSizeCap {
 public:
  explicit FileSizeCap(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit cap = old_;
    cap.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &cap);
  }
  ~FileSizeCap() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

// Local time as UTC, so that the ctime texts are known.
inline void UseUtc() {
  setenv("TZ", "UTC", 1);
  tzset();
}
constexpr std::time_t GoldenTime = 1709388309;  // Sat Mar  2 14:05:09 2024
inline std::time_t GoldenClock() { return GoldenTime; }
inline std::time_t LaterClock() { return GoldenTime + 40 * 86400 + 3600; }  // Thu Apr 11 15:05:09 2024

// Red's cannon takes a horse, the chariot takes the cannon back, then a quiet move each.
inline const std::vector<std::string> GoldenMoves = {"h2h9", "i9h9", "b2e2", "b9c7"};

// The golden game's file, written by hand from the layout.
inline const char* const GoldenFile =
    "VRDF05\n"
    "Game #: 1 (saved Sat Mar  2 14:05:09 2024)\n"
    "Game ended: 0\n"
    "User's turn: 1\n"
    "Board value: 15\n"
    "Board extra value: 18\n"
    "38 00 46 44 48 45 47 39 00\n"
    "00 00 00 00 00 00 00 00 00\n"
    "00 42 40 00 00 00 00 43 00\n"
    "33 00 34 00 35 00 36 00 37\n"
    "00 00 00 00 00 00 00 00 00\n"
    "00 00 00 00 00 00 00 00 00\n"
    "65 00 66 00 67 00 68 00 69\n"
    "00 00 00 00 74 00 00 00 00\n"
    "00 00 00 00 00 00 00 00 00\n"
    "70 72 78 76 80 77 79 73 71\n"
    "Recorded moves: 4\n"
    "Next move: 4\n"
    "70 --> 07 x41 054 056 058 060 062 081 089 082 088 064 007 084 086 083 087 085"
    " 027 029 031 033 035 000 008 001 135 019 025 003 005 002 006 004 \n"
    "08 --> 07 x75 054 056 058 060 062 081 089 082 088 064 135 084 086 083 087 085"
    " 027 029 031 033 035 000 007 001 135 019 025 003 005 002 006 004 \n"
    "64 --> 67 -   054 056 058 060 062 081 089 082 088 067 135 084 086 083 087 085"
    " 027 029 031 033 035 000 007 001 135 019 025 003 005 002 006 004 \n"
    "01 --> 20 -   054 056 058 060 062 081 089 082 088 067 135 084 086 083 087 085"
    " 027 029 031 033 035 000 007 020 135 019 025 003 005 002 006 004 \n"
    "Eaten red pieces: 1\n"
    "75\n"
    "Eaten green pieces: 1\n"
    "41\n"
    "\n"
    "\n";

// The file form of what `record` holds; the eaten lists follow its captures.
inline std::unique_ptr<GameFileData> DataOf(const GameRecord& record, int32_t gameNumber = 1) {
  auto data = std::make_unique<GameFileData>();
  data->gameNumber = gameNumber;
  data->savedAt = "Sat Mar  2 14:05:09 2024";
  data->board = record.position;
  data->recordedMoves = record.recordedMoves;
  data->moveCount = record.moveCount;
  std::memcpy(data->history, record.history, sizeof data->history);
  for (int i = 0; i < record.moveCount; ++i) {
    const uint8_t taken = record.history[i].captured;
    if (taken & GreenBit) data->eatenGreen[data->eatenGreenCount++] = taken;
    else if (taken) data->eatenRed[data->eatenRedCount++] = taken;
  }
  return data;
}

inline std::unique_ptr<GameRecord> PlayedRecord(const std::vector<std::string>& moves) {
  auto record = std::make_unique<GameRecord>();
  for (const std::string& m : moves) EXPECT_TRUE(Play(*record, m)) << m;
  return record;
}

// Random permitted moves, red first, never taking a general nor ending the game drawn;
// false when a side is left without one. Seed 11 lasts well over 1000 plies.
inline bool PlayRandomGame(GameRecord& record, int plies, uint32_t seed) {
  std::mt19937 random(seed);
  for (int ply = 0; ply < plies; ++ply) {
    const int side = ply % 2 == 0 ? Red : Green;
    std::vector<Move> moves;
    for (int index = 1; index <= PiecesPerSide; ++index) {
      for (int family = 0; family < 2 && record.onBoard(side, index); ++family) {
        if (family == 0) record.generateCaptures(side, index, 0);
        else record.generateQuietMoves(side, index, 0);
        const MoveSlot& slot = record.moveSlots[0];
        for (int i = 0; i < slot.count(); ++i)
          if ((record.position.squares[slot.cells[i].to] & IndexMask) != GeneralIndex) moves.push_back(slot.cells[i]);
      }
    }
    std::shuffle(moves.begin(), moves.end(), random);
    auto permitted = std::find_if(moves.begin(), moves.end(), [&](Move m) {
      int32_t reason = 0, detail = 0;
      return record.validateMove(m, reason, detail);
    });
    if (permitted == moves.end()) return false;
    record.makeMove(side, *permitted);
    record.recordMove(*permitted);
  }
  return true;
}

// A move made, recorded, shown and its taken piece listed, as the interaction does; the
// user's move asks the computer to answer unless told not to, the computer's gives the
// turn back.
inline bool PlayMove(GameApplication& app, const std::string& text, bool askComputer = false) {
  Move m = MoveOf(text);
  LockGame(app.game);
  GameRecord& record = app.game.record;
  const uint8_t piece = record.position.squares[m.from];
  int32_t reason = 0, detail = 0;
  const bool ok = piece != 0 && record.validateMove(m, reason, detail);
  if (ok) {
    record.makeMove(sideOfCode(piece), m);
    record.recordMove(m);
    app.savedBoard = record.position;
    if (m.captured & GreenBit) app.eatenGreen[app.eatenGreenCount++] = m.captured;
    else if (m.captured) app.eatenRed[app.eatenRedCount++] = m.captured;
    app.game.usersTurn = sideOfCode(piece) == Green;
  }
  UnlockGame(app.game);
  if (ok && askComputer) RequestComputerMove(app.game);
  return ok;
}

// Reads the shared state under the lock.
template <typename F>
auto Locked(GameApplication& app, F read) {
  LockGame(app.game);
  auto value = read(app.game);
  UnlockGame(app.game);
  return value;
}

// Waits until `done` holds of the shared state; false after five seconds.
template <typename F>
bool WaitFor(GameApplication& app, F done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!Locked(app, done)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

inline bool AnswerReady(GuardedGame& g) { return !g.searchRequested && !g.searching && !g.usersTurn; }

// Plays the worker's answer once it is there, as the per-frame step would.
inline bool PlayAnswer(GameApplication& app) {
  if (!WaitFor(app, AnswerReady)) return false;
  const Move m = Locked(app, [](GuardedGame& g) { return g.bestMove; });
  return IsBoardMove(m) && PlayMove(app, FormatMove(m));
}

}  // namespace rq::test
