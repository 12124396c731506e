// The user's moves answered by the real search worker at the easiest level.
#include <algorithm>
#include <chrono>
#include <thread>

#include "game/settings.h"
#include "interaction_fixture.h"

namespace rq::test {
namespace {

using WorkerTurn = InteractionTest;

// Frames 16 fake ms apart (and a few real ms, for the worker) until the user is to move.
bool WaitForAnswer(GameApplication& app, FakePlatform& fake, int32_t& animationMs) {
  int32_t animationStartedAt = -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (std::chrono::steady_clock::now() < deadline) {
    UpdateComputerTurn(app);
    if (app.computerMoveAnimating && animationStartedAt < 0) animationStartedAt = fake.ElapsedMilliseconds();
    LockGame(app.game);
    const bool done = app.game.usersTurn;
    UnlockGame(app.game);
    if (done) {
      animationMs = fake.ElapsedMilliseconds() - animationStartedAt;
      return animationStartedAt >= 0 || app.game.gameEnded;
    }
    fake.AdvanceClock(16);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

TEST_F(WorkerTurn, EachUserMoveIsAnsweredAnimatedAndPlayed) {
  Start(true);
  ApplyDifficulty(app->game, 0);
  // Each row is a user move; the worker answers whatever it finds.
  const char* userMoves[] = {"b2e2", "h0g2", "i0h0", "c3c4"};
  int32_t plies = 0;
  for (const char* text : userMoves) {
    int from = 0, to = 0;
    ASSERT_TRUE(ParseMove(text, from, to));
    if (app->savedBoard.squares[from] == 0) continue;  // the computer took the piece
    MoveTo(from);
    bool permitted = false;
    for (int i = 0; i < app->candidateCount; ++i)
      permitted |= app->candidateMoves[i].to == to && app->candidateMoves[i].status > 0;
    if (!permitted) continue;
    fake.ClearRecords();
    Drag(from, to);
    ASSERT_EQ(app->game.record.moveCount, ++plies) << text;
    int32_t animationMs = 0;
    ASSERT_TRUE(WaitForAnswer(*app, fake, animationMs)) << text;
    if (app->game.gameEnded) break;
    ++plies;
    const std::vector<CursorHandle> cursors = fake.CursorChanges();
    EXPECT_NE(std::find(cursors.begin(), cursors.end(), FakePlatform::BusyToken()), cursors.end()) << text;
    EXPECT_GT(animationMs, 500) << text;
    LockGame(app->game);
    EXPECT_EQ(app->game.record.moveCount, plies) << text;
    EXPECT_TRUE(BoardShowsEngine()) << text;
    EXPECT_NE(app->savedBoard.squares[app->lastMove.to] & GreenBit, 0) << text << ": the answer moved a green piece";
    EXPECT_EQ(app->savedBoard.squares[app->lastMove.from], 0) << text;
    // Every taken piece is listed once.
    int redOnBoard = 0, greenOnBoard = 0;
    for (uint8_t code : app->savedBoard.squares) {
      if (code & RedBit) ++redOnBoard;
      if (code & GreenBit) ++greenOnBoard;
    }
    EXPECT_EQ(app->eatenRedCount, 16 - redOnBoard) << text;
    EXPECT_EQ(app->eatenGreenCount, 16 - greenOnBoard) << text;
    UnlockGame(app->game);
  }
  EXPECT_GE(plies, 2);
}

}  // namespace
}  // namespace rq::test
