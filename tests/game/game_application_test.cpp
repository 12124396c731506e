// Start-up, shut-down, new games and the files behind them, the worker thread running.
#include <pwd.h>
#include <sys/stat.h>

#include <optional>

#include "game/archive.h"
#include "game/game_texts.h"
#include "platform/language.h"
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

// A first start with the setting green: the computer opens as red; the game continues after
// a restart with the same sides, the same turn and green at the bottom. Alternating, the next
// game gives red.
TEST_F(GameAppTest, AGreenGameContinuesWithTheSameSidesTurnAndView) {
  SettingsValues settings;
  settings.difficultyLevel = 0;
  settings.sideChoice = SideChoiceAlternate;
  WriteFile(SettingsFileName("TESTBOX"), FormatSettings(settings));
  GameApplication& first = Start();
  EXPECT_EQ(first.game.playerSide(), Red) << "alternating starts with red";
  Stop();
  settings.sideChoice = SideChoiceGreen;
  WriteFile(SettingsFileName("TESTBOX"), FormatSettings(settings));
  std::filesystem::remove(CurrentGameFileName("TESTBOX"));
  GameApplication& a = Start();
  EXPECT_TRUE(a.boardTurned);
  ASSERT_TRUE(PlayAnswer(a)) << "red's first move is the computer's";
  ASSERT_TRUE(PlayMoves(a, "h7e7"));
  RequestComputerMove(a.game);
  ASSERT_TRUE(PlayAnswer(a));
  const std::string before = GameState(a);
  Stop();
  // The side's line closes the record, whatever red's answer took.
  const std::string saved = CurrentFile();
  EXPECT_EQ(saved.substr(saved.rfind('\n', saved.size() - 4)), "\nPlayer: green\n\n\n") << saved;
  platform.ClearRecords();
  GameApplication& b = Start();
  EXPECT_EQ(Told(), "Ravenquill: Continuing previous game. You play green. It's your turn.");
  EXPECT_EQ(GameState(b), before);
  EXPECT_TRUE(b.boardTurned);
  EXPECT_EQ(b.game.computerSide, Red);
  b.settings.sideChoice = SideChoiceAlternate;
  ASSERT_TRUE(Locked(b, [&](GuardedGame&) { return StartNewGame(b); }));
  EXPECT_EQ(b.game.playerSide(), Red);
  EXPECT_FALSE(b.boardTurned);
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
bool StartAndStopUnprivileged(FakePlatform& platform) {
  const passwd* nobody = getpwnam("nobody");
  if (const pid_t pid = fork(); pid != 0) return ExitedWell(pid);
  bool ok = geteuid() != 0 || nobody != nullptr;
  if (ok && geteuid() == 0) {
    for (const auto& entry : std::filesystem::directory_iterator("."))
      ok = ok && lchown(entry.path().c_str(), nobody->pw_uid, nobody->pw_gid) == 0;
    ok = ok && chown(".", nobody->pw_uid, nobody->pw_gid) == 0;
    ok = ok && setgid(nobody->pw_gid) == 0 && setuid(nobody->pw_uid) == 0;
  }
  if (ok) std::make_unique<GameApplication>(platform).reset();
  _exit(ok ? 0 : 1);
}

// A file that cannot be read is set aside, damaged ones too; none is overwritten.
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
    EXPECT_TRUE(StartAndStopUnprivileged(platform));
    EXPECT_EQ(ReadFile(*c.file + c.keptAs), c.bytes) << c.mode << c.keptAs;
  }
  WriteFile(game, golden.substr(0, golden.size() - 1));  // the starts above ran in other processes: nothing told yet
  EXPECT_EQ(GameState(Start()), FreshState(2));
  EXPECT_EQ(Told(), "Ravenquill: " + FormatText(SetAsideText, (game + ".damaged-3").c_str()));
}

// A game number is never given twice: a new game follows the current-game file, a file set
// aside and the newest archive's last record, and a game the archive already holds does
// not come back. Each row: the files, the game the start shows, what it says.
TEST_F(GameAppTest, GameNumbersFollowEveryEarlierGameAndASetAsideFileIsNamed) {
  const std::string game = CurrentGameFileName("TESTBOX"), golden = GoldenFile;
  const std::string later = "Sat Mar  2 14:05:10 2024", earlier = "Sat Mar  2 14:05:08 2024";
  // The golden game under another number, saved at another time, or cut short.
  const auto numbered = [&](int number, const std::string& at = "Sat Mar  2 14:05:09 2024", bool cut = false) {
    std::string file = golden.substr(0, cut ? golden.find("64 --> 67") : std::string::npos);
    const std::string header = "1 (saved Sat Mar  2 14:05:09 2024)";
    return file.replace(file.find(header), header.size(), std::to_string(number) + " (saved " + at + ")");
  };
  const std::string setAside = "Ravenquill: " + FormatText(SetAsideText, (game + ".damaged").c_str());
  const struct { std::vector<std::pair<std::string, std::string>> files; int32_t shown; bool continued; std::string told; } cases[] = {
      {{{ArchiveFileName(1, "TESTBOX"), numbered(3) + numbered(5)}}, 6, false, ""},
      {{{ArchiveFileName(1, "TESTBOX"), numbered(40)}, {ArchiveFileName(101, "TESTBOX"), ""}}, 41, false, ""},
      {{{game, numbered(7, later, true)}}, 8, false, setAside},
      {{{game, "VRDF05\nGame #: 9\nGame ended: maybe\n"}}, 10, false, setAside},
      {{{game + ".damaged", ""}, {game, "garbage"}}, 1, false, "Ravenquill: " + FormatText(SetAsideText, (game + ".damaged-2").c_str())},
      {{{ArchiveFileName(1, "TESTBOX"), numbered(40)}, {ArchiveFileName(101, "TESTBOX"), numbered(120) + numbered(150, later, true)},
        {ArchiveFileName(201, "TESTBOX") + ".damaged", numbered(250)}, {game, numbered(130, later, true)}},
       151, false, "Ravenquill: " + FormatText(SetAsideText, (game + ".damaged").c_str())},
      // Left for a new game whose file could not be written: archived no earlier than saved.
      {{{game, numbered(20)}, {ArchiveFileName(20, "TESTBOX"), numbered(20, later)}}, 21, false, ""},
      {{{game, numbered(20)}, {ArchiveFileName(20, "TESTBOX"), numbered(20)}}, 21, false, ""},
      // Older releases gave a number twice after a file set aside: that older record is another game.
      {{{game, numbered(1)}, {ArchiveFileName(1, "TESTBOX"), numbered(1, earlier)}}, 1, true, YourTurn},
      {{{game, numbered(20)}, {ArchiveFileName(1, "TESTBOX"), numbered(19, later)}}, 20, true, YourTurn},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.files.back().second.substr(0, 50));
    dir.Clear();
    platform.ClearRecords();
    PrepareSettings(true);
    for (const auto& [name, bytes] : c.files) WriteFile(name, bytes);
    GameApplication& a = Start();
    EXPECT_EQ(a.gameNumber, c.shown);
    EXPECT_EQ(Locked(a, [](GuardedGame& g) { return g.record.recordedMoves; }), c.continued ? 4 : 0);
    EXPECT_EQ(Told(), c.told);
    // The next game takes the number after the one shown, in the archive and on the board.
    ASSERT_TRUE(Locked(a, [&](GuardedGame&) { return StartNewGame(a); }));
    EXPECT_EQ(a.gameNumber, c.shown + 1);
    int32_t last = 0;
    std::string savedAt;
    EXPECT_TRUE(ReadLastArchivedGame(ArchiveFileName(c.shown, "TESTBOX"), last, savedAt));
    EXPECT_EQ(last, c.shown);
    Stop();
  }
}

TEST_F(GameAppTest, ANewGameArchivesTheOldOneOrLeavesItWhereItIs) {
  const std::string current = CurrentGameFileName("TESTBOX"), archive = ArchiveFileName(1, "TESTBOX");
  // A game left in the archive but not replaced in its file starts the new one all the same,
  // and the player learns that the folder cannot be written.
  const struct { const std::string* blocked; bool diskFull, archived; const char* told; } cases[] = {
      {nullptr, false, true, ""},
      {&current, false, true, "New game"},
      {&archive, false, false, "New game"},
      {nullptr, true, false, "New game"},
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
    if (!c.archived && !c.blocked) EXPECT_FALSE(std::filesystem::exists(archive)) << "a failed first append leaves no file";
    EXPECT_EQ(GameState(a), c.archived ? FreshState(2) : before) << "a game kept stays on the board";
    EXPECT_EQ(platform.Messages().size() == 1 ? platform.Messages()[0].title : Told(), c.told);
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
