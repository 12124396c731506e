// Leaving a game for a new one: the archive it lands in and the fresh state after it.
#include <map>

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
    StartNewGame(a);
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

TEST_F(GameAppTest, AFailedSaveArchivesNothing) {
  GameApplication& a = Start();
  ASSERT_TRUE(SaveCurrentGame(a));  // an older game stands in the file
  ASSERT_TRUE(PlayMove(a, GoldenMoves[0]) && PlayMove(a, GoldenMoves[1]));
  {
    FileSizeCap diskFull(CurrentFile().size());
    StartNewGame(a);
  }
  EXPECT_FALSE(FileExists(ArchiveFileName(1, "TESTBOX")));
  ExpectFreshGame(a, 2);
}

}  // namespace
}  // namespace rq::test
