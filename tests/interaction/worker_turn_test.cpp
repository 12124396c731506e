// The user's moves answered by the real search worker thread.
#include <chrono>
#include <thread>

#include "game/settings.h"
#include "interaction_fixture.h"

namespace rq::test {
namespace {

using WorkerTurn = InteractionTest;

// The real search worker at the easiest level answers each user move.
TEST_F(WorkerTurn, EachMoveIsAnsweredAndPlayed) {
  Start(true);
  ApplyDifficulty(app->game, 0);
  for (const char* move : {"b2e2", "h0g2", "i0h0"}) {
    const int32_t plies = app->game.record.moveCount;
    fake.ClearRecords();
    Drag(move);
    if (app->game.record.moveCount == plies) continue;  // the answer took the piece or barred the move
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (bool done = false; !done && std::chrono::steady_clock::now() < deadline; fake.AdvanceClock(16)) {
      UpdateComputerTurn(*app);
      LockGame(app->game);
      done = app->game.usersTurn;
      UnlockGame(app->game);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    LockGame(app->game);
    EXPECT_EQ(app->game.record.moveCount, plies + 2) << move;
    EXPECT_TRUE(BoardShowsEngine() && (app->savedBoard.squares[app->lastMove.to] & GreenBit)) << move;
    UnlockGame(app->game);
    const auto cursors = fake.CursorChanges();
    EXPECT_NE(std::find(cursors.begin(), cursors.end(), FakePlatform::BusyToken()), cursors.end());
  }
}

}  // namespace
}  // namespace rq::test
