// Leaving a game for a new one: the archive it lands in and the fresh state after it.
#include <map>
#include <optional>

#include "app_fixture.h"
#include "game/archive.h"
#include "game/new_game.h"

namespace rq::test {
namespace {

TEST_F(GameAppTest, LeftGamesLandInTheArchiveOfTheirBlock) {
  const struct {
    int32_t game;
    const char* archive;
  } cases[] = {{1, "Games1-100_TESTBOX.vrd5"}, {100, "Games1-100_TESTBOX.vrd5"}, {101, "Games101-200_TESTBOX.vrd5"}};
  GameApplication& a = Start();
  std::map<std::string, std::string> archives;  // what each archive must hold by now
  for (const auto& c : cases) {
    SCOPED_TRACE(c.game);
    a.gameNumber = c.game;
    ASSERT_TRUE(PlayMove(a, GoldenMoves[0]) && PlayMove(a, GoldenMoves[1]));
    a.lastMove.status = 0;
    a.draggedPiece.code = 0x41;
    a.hoveredPiece = 3;
    a.candidatesShown = a.computerMoveReady = a.computerMoveAnimating = a.gameDrawn = true;

    LockGame(a.game);  // as the new-game command: the lock is re-entrant
    EXPECT_TRUE(StartNewGame(a));
    UnlockGame(a.game);

    // The archive grows by the very bytes of the current-game file written in the step.
    const std::string current = CurrentFile();
    archives[c.archive] += current;
    EXPECT_EQ(ReadFile(c.archive), archives[c.archive]);
    EXPECT_NE(current.find("Game #: " + std::to_string(c.game) + " (saved"), std::string::npos);
    EXPECT_NE(current.find("Game ended: 0\n"), std::string::npos);
    EXPECT_NE(current.find("Recorded moves: 2\n"), std::string::npos);
    ExpectFreshGame(a, c.game + 1);
    EXPECT_EQ(a.lastMove.status, NoLastMove);
    EXPECT_EQ(a.draggedPiece.code, -1);
    EXPECT_EQ(a.hoveredPiece, -1);
    EXPECT_FALSE(a.candidatesShown || a.computerMoveReady || a.computerMoveAnimating || a.gameDrawn);
  }
  EXPECT_EQ(archives.size(), 2u);
  ASSERT_TRUE(SaveCurrentGame(a));
  EXPECT_NE(CurrentFile().find("Game #: 102 (saved"), std::string::npos);
}

TEST_F(GameAppTest, AGameNeitherSavedNorArchivedIsNeverLeft) {
  UseUtc();
  const std::string current = CurrentGameFileName("TESTBOX"), archive = ArchiveFileName(1, "TESTBOX");
  const struct {
    const char* name;
    const std::string* blocked;  // a directory stands in the way of this file
    bool diskFull, archived;
  } cases[] = {
      {"current-game file not writable: archived from memory", &current, false, true},
      {"archive not writable", &archive, false, false},
      {"disk full for both", nullptr, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform.ClearRecords();
    GameApplication& a = Start();
    a.wallClock = GoldenClock;
    ASSERT_TRUE(SaveCurrentGame(a));  // an older game stands in the file
    ASSERT_TRUE(PlayMove(a, GoldenMoves[0]) && PlayMove(a, GoldenMoves[1]));
    const std::string before = GameState(a);
    const std::string record = Locked(a, [](GuardedGame& g) { return FormatGameFile(*DataOf(g.record)); });
    if (c.blocked) std::filesystem::remove(*c.blocked), std::filesystem::create_directory(*c.blocked);
    std::optional<FileSizeCap> diskFull;
    if (c.diskFull) diskFull.emplace(CurrentFile().size());
    LockGame(a.game);
    EXPECT_EQ(StartNewGame(a), c.archived);
    UnlockGame(a.game);
    diskFull.reset();
    EXPECT_EQ(ReadFile(archive), c.archived ? record : "");
    if (c.archived) {
      ExpectFreshGame(a, 2);
      EXPECT_TRUE(platform.Messages().empty());
    } else {
      EXPECT_EQ(GameState(a), before) << "the game stays on the board";
      const auto told = platform.Messages();
      EXPECT_EQ(told.size() == 1 ? told[0].title : "", "New game");
    }
    Stop();
    for (const std::string& file : {current, archive, SettingsFileName("TESTBOX")}) std::filesystem::remove_all(file);
  }
}

}  // namespace
}  // namespace rq::test
