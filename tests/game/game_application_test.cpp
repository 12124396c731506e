// Start-up, shut-down, new games and the files behind them, the worker thread running.
#include <pwd.h>
#include <sys/stat.h>

#include <optional>

#include "game/archive.h"
#include "game/new_game.h"
#include "game/safe_file.h"
#include "game_support.h"

namespace rq::test {
namespace {

const std::string YourTurn = "Ravenquill: Continuing previous game. It's your turn.";
const std::string MyTurn = "Ravenquill: Continuing previous game. It's my turn.";

TEST_F(GameAppTest, FirstStartIsSilentAndFreshAndALongNameIsCut) {
  platform.computerName = "a-very-long-hostname";
  EXPECT_EQ(GameState(Start()), FreshState(1));
  EXPECT_EQ(Told(), "");
  EXPECT_EQ(platform.CurrentCursor(), FakePlatform::ArrowToken());
  Stop();
  EXPECT_EQ(ReadFile(SettingsFileName("a-very-long-hos")), FormatSettings(SettingsValues()));
  EXPECT_NE(ReadFile(CurrentGameFileName("a-very-long-hos")).find("Recorded moves: 0\n"), std::string::npos);
}

TEST_F(GameAppTest, AGameContinuesAfterARestartThinkingOrNot) {
  PrepareSettings(true);
  GameApplication& a = Start();
  for (const char* move : {"h2e2", "h0g2"}) {
    ASSERT_TRUE(PlayMoves(a, move)) << move;
    RequestComputerMove(a.game);
    ASSERT_TRUE(PlayAnswer(a)) << move;
  }
  std::string before = GameState(a);
  const HistoryEntry last = Locked(a, [](GuardedGame& g) { return g.record.history[3]; });
  Stop();
  GameApplication& b = Start();
  EXPECT_EQ(b.lastMove.status, 0);
  EXPECT_EQ(b.lastMove.from, last.from);
  EXPECT_EQ(b.lastMove.to, last.to);
  EXPECT_EQ(Told(), YourTurn);
  EXPECT_EQ(GameState(b), before);

  // Thinking at exit: stopped at once, saved on the computer's turn, resumed at the start.
  b.settings.difficultyLevel = 4;
  ApplyDifficulty(b);
  ASSERT_TRUE(PlayMoves(b, "i0h0"));
  before = GameState(b);
  RequestComputerMove(b.game);
  while (!Locked(b, [](GuardedGame& g) { return g.searching; })) std::this_thread::yield();
  const auto stopping = std::chrono::steady_clock::now();
  b.settings.difficultyLevel = 0;
  Stop();
  platform.ClearRecords();
  EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(3)) << "the search was not stopped";
  GameApplication& c = Start();
  EXPECT_EQ(Told(), MyTurn);
  EXPECT_EQ(GameState(c), before);
  EXPECT_TRUE(PlayAnswer(c));
}

TEST_F(GameAppTest, StartUpTellsTheStateOfTheGameWhenAskedTo) {
  const std::string ended = "Ravenquill: Previous game has ended. Press 'New Game' to start a new one.";
  const struct { bool ended, usersTurn, hint; std::string message; } cases[] = {
      {false, false, true, MyTurn},
      {true, true, true, ended},
      {true, false, true, ended},
      {false, true, false, ""},
      {false, false, false, ""},
      {true, true, false, ""},
  };
  auto record = PlayedRecord("h2h9 i9h9 b2e2");
  for (const auto& c : cases) {
    platform.ClearRecords();
    PrepareSettings(c.hint);
    WriteFile(CurrentGameFileName("TESTBOX"), FormatGameFile(*DataOf(*record, 5, c.ended, c.usersTurn)));
    GameApplication& a = Start();
    EXPECT_EQ(Told(), c.message) << c.ended << c.usersTurn << c.hint;
    EXPECT_EQ(Locked(a, [](GuardedGame& g) { return g.record.endPly; }), c.ended ? 3 : NoEndPly);
    if (!c.ended && !c.usersTurn) {
      EXPECT_TRUE(PlayAnswer(a)) << "the computer thinks on its saved turn";
    } else {
      EXPECT_TRUE(Locked(a, [](GuardedGame& g) { return g.usersTurn && !g.searchRequested; }));
    }
    Stop();
  }
}

TEST_F(GameAppTest, SavesAreTheGoldenBytesAndNeverTornOrMadeOfAHeldPiece) {
  GameApplication& a = Start();
  ASSERT_TRUE(PlayMoves(a, "h2h9 i9h9"));
  ASSERT_TRUE(SaveCurrentGame(a));
  const std::string previous = CurrentFile();
  ASSERT_TRUE(PlayMoves(a, "b2e2 b9c7"));
  {
    FileSizeCap diskFull(previous.size() + 100);  // the new file is 286 bytes longer
    EXPECT_FALSE(SaveCurrentGame(a));
  }
  EXPECT_EQ(CurrentFile(), previous);
  EXPECT_FALSE(std::filesystem::exists(TempFileName(CurrentGameFileName("TESTBOX"))));
  // Held at exit: lifted off the board.
  a.draggedPiece = DraggedPiece{0x46, 81, 0, 0};
  a.savedBoard.squares[81] = 0;
  Stop();
  ASSERT_EQ(CurrentFile(), GoldenFile);
  Start().wallClock = [] { return GoldenClock() + 40 * 86400 + 3600; };
  Stop();
  std::string later = GoldenFile;
  later.replace(later.find("Sat Mar  2 14"), 24, "Thu Apr 11 15:05:09 2024");
  EXPECT_EQ(CurrentFile(), later);
}

// Runs a start and a stop as "nobody" when the tests run as root, so that permissions bite.
bool StartAndStopUnprivileged(FakePlatform& platform, const char* lock) {
  const passwd* nobody = getpwnam("nobody");
  if (const pid_t pid = fork(); pid != 0) return ExitedWell(pid);
  bool ok = geteuid() != 0 || nobody != nullptr;
  if (ok && geteuid() == 0) {
    for (const auto& entry : std::filesystem::directory_iterator("."))
      ok = ok && lchown(entry.path().c_str(), nobody->pw_uid, nobody->pw_gid) == 0;
    ok = ok && chown(".", nobody->pw_uid, nobody->pw_gid) == 0;
    ok = ok && setgid(nobody->pw_gid) == 0 && setuid(nobody->pw_uid) == 0;
  }
  setenv("XDG_RUNTIME_DIR", std::filesystem::current_path().c_str(), 1);  // where "nobody" may lock
  if (ok) std::make_unique<GameApplication>(platform, lock).reset();
  _exit(ok ? 0 : 1);
}

// A file that cannot be read is set aside, damaged ones silently too; none is overwritten.
TEST_F(GameAppTest, FilesThatCannotBeLoadedAreKeptAside) {
  const std::string game = CurrentGameFileName("TESTBOX"), settings = SettingsFileName("TESTBOX");
  const std::string golden = GoldenFile, cut = golden.substr(0, golden.find("64 --> 67"));
  const struct { const std::string* file; std::string bytes; mode_t mode; int asideTaken; const char* keptAs; } cases[] = {
      {&game, golden, 0, 0, ".damaged"},
      {&game, golden, 0200, 999, ""},
      {&game, golden, 0400, 0, ""},
      {&settings, "HintAtStartup = 0\n", 0400, 0, ""},
      {&game, cut, 0600, 1, ".damaged-2"},
  };
  for (const auto& c : cases) {
    dir.Clear();
    WriteFile(*c.file, c.bytes);
    for (int n = 1; n <= c.asideTaken; ++n) WriteFile(*c.file + ".damaged" + (n == 1 ? "" : "-" + std::to_string(n)), "");
    chmod(c.file->c_str(), c.mode);
    EXPECT_TRUE(StartAndStopUnprivileged(platform, lock.name()));
    EXPECT_EQ(ReadFile(*c.file + c.keptAs), c.bytes) << c.mode << c.keptAs;
  }
  WriteFile(game, golden.substr(0, golden.size() - 1));  // the starts above ran in other processes: nothing told yet
  EXPECT_EQ(GameState(Start()), FreshState(1));
  EXPECT_EQ(Told(), "");
}

TEST_F(GameAppTest, ANewGameArchivesTheOldOneOrLeavesItWhereItIs) {
  const std::string current = CurrentGameFileName("TESTBOX"), archive = ArchiveFileName(1, "TESTBOX");
  const struct { const std::string* blocked; bool diskFull, archived; } cases[] = {
      {nullptr, false, true},
      {&current, false, true},
      {&archive, false, false},
      {nullptr, true, false},
  };
  for (const auto& c : cases) {
    dir.Clear();
    platform.ClearRecords();
    GameApplication& a = Start();
    // The file holds an older game; two eaten against one.
    ASSERT_TRUE(SaveCurrentGame(a));
    ASSERT_TRUE(PlayMoves(a, "h2h9 i9h9 b2b9 c9e7"));
    a.lastMove.status = 0;
    a.draggedPiece.code = 0x41;
    a.hoveredPiece = 3;
    a.candidatesShown = a.computerMoveReady = a.computerMoveAnimating = a.gameDrawn = true;
    const std::string before = GameState(a);
    const std::string saved = Locked(a, [](GuardedGame& g) { return FormatGameFile(*DataOf(g.record)); });
    if (c.blocked) {
      std::filesystem::remove(*c.blocked);
      std::filesystem::create_directory(*c.blocked);
    }
    std::optional<FileSizeCap> diskFull = c.diskFull ? std::make_optional<FileSizeCap>(CurrentFile().size()) : std::nullopt;
    EXPECT_EQ(Locked(a, [&](GuardedGame&) { return StartNewGame(a); }), c.archived);  // as the command: the lock is re-entrant
    diskFull.reset();
    EXPECT_EQ(ReadFile(archive), c.archived ? saved : "");
    EXPECT_EQ(GameState(a), c.archived ? FreshState(2) : before) << "a game kept stays on the board";
    EXPECT_EQ(platform.Messages().size() == 1 ? platform.Messages()[0].title : Told(), c.archived ? "" : "New game");
    if (c.archived) {
      EXPECT_EQ(a.lastMove.status, NoLastMove);
      EXPECT_EQ(a.draggedPiece.code, -1);
      EXPECT_EQ(a.hoveredPiece, -1);
      EXPECT_FALSE(a.candidatesShown);
      EXPECT_FALSE(a.computerMoveReady);
      EXPECT_FALSE(a.computerMoveAnimating);
      EXPECT_FALSE(a.gameDrawn);
    }
    Stop();
  }
}

}  // namespace
}  // namespace rq::test
