// Start-up and shut-down of the whole game application, the worker thread running.
#include <optional>

#include "app_fixture.h"

namespace rq::test {
namespace {

TEST_F(GameAppTest, FirstStartIsSilentFreshAndWritesTheDefaults) {
  GameApplication& a = Start();
  EXPECT_TRUE(platform.Messages().empty());
  ExpectFreshGame(a, 1);
  EXPECT_EQ(Locked(a, [](GuardedGame& g) { return g.thinkSeconds; }), 1.0);
  EXPECT_EQ(platform.CurrentCursor(), FakePlatform::ArrowToken());
  EXPECT_EQ(a.busyCursor, FakePlatform::BusyToken());
  EXPECT_NE(a.copyCursor, nullptr);
  EXPECT_EQ(a.lastMove.status, NoLastMove);
  Stop();
  EXPECT_EQ(ReadFile(SettingsFileName("TESTBOX")), FormatSettings(SettingsValues()));
  EXPECT_NE(CurrentFile().find("User's turn: 1\n"), std::string::npos);
}

TEST_F(GameAppTest, ComputerNameNamesTheFiles) {
  const struct {
    const char* given;
    const char* kept;
  } cases[] = {{"a-very-long-hostname", "a-very-long-hos"}, {"", ""}};
  for (const auto& c : cases) {
    platform.computerName = c.given;
    platform.loadableCursorFiles.clear();
    EXPECT_EQ(std::string(Start().computerName), c.kept);
    EXPECT_EQ(app->copyCursor, nullptr) << "no cursor file";
    Stop();
    EXPECT_TRUE(FileExists(std::string("CurrentGame_") + c.kept + ".vrd5")) << c.given;
    EXPECT_TRUE(FileExists(std::string("Settings_") + c.kept + ".rqs1")) << c.given;
  }
}

TEST_F(GameAppTest, GamePlayedWithTheWorkerContinuesAfterARestart) {
  PrepareSettings(true, 0);
  GameApplication& a = Start();
  for (const char* move : {"h2e2", "h0g2"}) {
    ASSERT_TRUE(PlayMove(a, move, true)) << move;
    ASSERT_TRUE(PlayAnswer(a)) << move;
  }
  const std::string before = GameState(a);
  const HistoryEntry last = Locked(a, [](GuardedGame& g) { return g.record.history[3]; });
  Stop();

  GameApplication& b = Start();
  EXPECT_TRUE(b.lastMove.status == 0 && b.lastMove.from == last.from && b.lastMove.to == last.to);
  const auto messages = platform.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "Ravenquill");
  EXPECT_EQ(messages[0].text, "Continuing previous game. It's your turn.");
  EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(GameState(b), before);
  EXPECT_FALSE(Locked(b, [](GuardedGame& g) { return g.searchRequested; }));
}

TEST_F(GameAppTest, ThinkingAtExitIsStoppedSavedAndResumed) {
  PrepareSettings(true, 4);  // twelve seconds: the search is surely running at exit
  GameApplication& a = Start();
  ASSERT_TRUE(PlayMove(a, "h2e2"));
  const std::string before = GameState(a);  // the search owns the record from the request on
  RequestComputerMove(a.game);
  ASSERT_TRUE(WaitFor(a, [](GuardedGame& g) { return g.searching; }));
  a.difficultyLevel = 0;  // written at shut-down, so the next start thinks briefly

  const auto stopping = std::chrono::steady_clock::now();
  Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(3)) << "the search was not stopped";
  EXPECT_NE(CurrentFile().find("User's turn: 0\n"), std::string::npos);

  GameApplication& b = Start();
  ASSERT_EQ(platform.Messages().size(), 1u);
  EXPECT_EQ(platform.Messages()[0].text, "Continuing previous game. It's my turn.");
  EXPECT_EQ(GameState(b), before);
  EXPECT_TRUE(PlayAnswer(b));
}

TEST_F(GameAppTest, StartUpMessagesAndTheComputersTurn) {
  const std::string ended = "Previous game has ended. Press 'New Game' to start a new one.";
  const struct {
    const char* name;
    bool ended, usersTurn, hint;
    std::optional<std::string> message;
  } cases[] = {
      {"user's turn", false, true, true, "Continuing previous game. It's your turn."},
      {"computer's turn", false, false, true, "Continuing previous game. It's my turn."},
      {"ended game", true, true, true, ended},
      {"ended game saved with the computer to move", true, false, true, ended},
      {"user's turn, no hint", false, true, false, std::nullopt},
      {"computer's turn, no hint", false, false, false, std::nullopt},
      {"ended game, no hint", true, true, false, std::nullopt},
  };
  auto record = PlayedRecord({GoldenMoves[0], GoldenMoves[1], GoldenMoves[2]});  // the computer's turn
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform.ClearRecords();
    PrepareSettings(c.hint, 0);
    auto data = DataOf(*record, 5);
    data->gameEnded = c.ended;
    data->usersTurn = c.usersTurn;
    WriteFile(CurrentGameFileName("TESTBOX"), FormatGameFile(*data));

    GameApplication& a = Start();
    const auto messages = platform.Messages();
    ASSERT_EQ(messages.size(), c.message ? 1u : 0u);
    if (c.message) {
      EXPECT_EQ(messages[0].text, *c.message);
    }
    EXPECT_EQ(a.gameNumber, 5);
    EXPECT_EQ(Locked(a, [](GuardedGame& g) { return g.record.endPly; }), c.ended ? 3 : NoEndPly);
    // The computer thinks exactly when a game that goes on was saved on its turn.
    if (!c.ended && !c.usersTurn) {
      EXPECT_TRUE(WaitFor(a, AnswerReady));
    } else {
      EXPECT_TRUE(Locked(a, [](GuardedGame& g) { return g.usersTurn && !g.searchRequested; }));
    }
    Stop();
  }
}

TEST_F(GameAppTest, SavedFileMatchesTheGoldenFileAndSurvivesAReload) {
  UseUtc();
  GameApplication& a = Start();
  for (const std::string& move : GoldenMoves) ASSERT_TRUE(PlayMove(a, move)) << move;
  a.wallClock = GoldenClock;
  Stop();
  ASSERT_EQ(CurrentFile(), GoldenFile);

  Start().wallClock = LaterClock;
  Stop();
  std::string later = GoldenFile;
  later.replace(later.find("Sat Mar  2 14:05:09 2024"), 24, "Thu Apr 11 15:05:09 2024");
  EXPECT_EQ(CurrentFile(), later);
}

TEST_F(GameAppTest, AFullHistoryIsKeptWithUndoRefused) {
  GameApplication& a = Start();
  LockGame(a.game);
  ASSERT_TRUE(PlayRandomGame(a.game.record, HistoryCapacity + 1, 11));
  a.savedBoard = a.game.record.position;
  UnlockGame(a.game);
  a.wallClock = GoldenClock;
  Stop();
  const std::string saved = CurrentFile();

  GameApplication& b = Start();
  EXPECT_EQ(platform.Messages().size(), 1u);
  EXPECT_FALSE(Locked(b, [](GuardedGame& g) { return g.record.canUndo(); }));
  b.wallClock = GoldenClock;
  Stop();
  EXPECT_EQ(CurrentFile(), saved);
}

TEST_F(GameAppTest, APieceHeldAtExitIsSavedOnItsSquare) {
  GameApplication& a = Start();
  a.draggedPiece = DraggedPiece{0x46, 81, 0, 0};
  a.savedBoard.squares[81] = 0;  // lifted off the drawn board while held
  Stop();
  Start();
  EXPECT_EQ(platform.Messages().size(), 1u) << "the saved game was refused";
  ExpectFreshGame(*app, 1);
}

TEST_F(GameAppTest, SaveFailingHalfWayKeepsThePreviousFile) {
  GameApplication& a = Start();
  ASSERT_TRUE(PlayMove(a, GoldenMoves[0]) && PlayMove(a, GoldenMoves[1]));
  ASSERT_TRUE(SaveCurrentGame(a));
  const std::string previous = CurrentFile();
  ASSERT_TRUE(PlayMove(a, GoldenMoves[2]) && PlayMove(a, GoldenMoves[3]));
  {
    FileSizeCap diskFull(previous.size() + 100);  // the new file is 286 bytes longer
    EXPECT_FALSE(SaveCurrentGame(a));
  }
  EXPECT_EQ(CurrentFile(), previous);
  EXPECT_FALSE(FileExists(TempFileName(CurrentGameFileName("TESTBOX"))));
}

}  // namespace
}  // namespace rq::test
