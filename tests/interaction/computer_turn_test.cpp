// The computer's answer on its way to the board, and the announcements at the end.
#include "interaction_fixture.h"

namespace rq::test {
namespace {

using ComputerTurn = InteractionTest;

TEST_F(ComputerTurn, TheAnswerIsAnimatedForHalfASecondThenPlayed) {
  Start();
  for (int32_t step : {16, 2000}) {
    SetPosition(StartFen);
    Drag("b2e2");
    UpdateComputerTurn(*app);
    EXPECT_EQ(fake.CurrentCursor(), FakePlatform::BusyToken());
    Publish("h7e7");
    fake.SetClock(5000 * step);
    int32_t playedAt = -1;
    double progress = 0;
    for (int frame = 0; playedAt < 0 && frame < 200; ++frame, fake.AdvanceClock(step)) {
      const bool ready = app->computerMoveReady;
      UpdateComputerTurn(*app);
      if (app->game.usersTurn) {
        playedAt = fake.ElapsedMilliseconds();
        EXPECT_TRUE(ready) << "played before it was drawn";
      } else {
        EXPECT_TRUE(app->computerMoveAnimating && app->animProgress >= progress && app->animProgress <= 1.0) << step;
      }
      progress = app->animProgress;
    }
    EXPECT_GT(playedAt, 5000 * step + ComputerMoveAnimationMs) << step;
    EXPECT_EQ(FormatMove(app->lastMove), "h7e7");
    EXPECT_TRUE(app->game.record.moveCount == 2 && BoardShowsEngine() && Announcements().empty());
  }
}

TEST_F(ComputerTurn, EveryEndIsAnnouncedOnceAfterTheFinalFrameIsShown) {
  Start();
  const struct { const char* fen; std::vector<std::string> history; const char *user, *computer; int32_t detail; bool noMoves;
                 const char* text; } rows[] = {
      {"4k4/9/9/9/9/P8/9/9/9/r2K5 w - - 0 1", {}, "a4a5", "a0d0", 0, false, ComputerWonText},
      {"4k4/9/9/9/9/9/4p4/9/4N4/3AKA3 b - - 0 1", {}, nullptr, "e3d3", 0, false, ComputerWonText},  // no move, no check
      {StartFen, {}, "b2e2", nullptr, 0, true, UserWonText},
      {"3k5/8r/9/9/9/9/9/9/R8/4K4 b - - 0 1", Cycles("i8i7", "a1a2", "i7i8", "a2a1"), nullptr, "i8i7", 4, false, DrawText},
  };
  for (const auto& row : rows) {
    SetPosition(row.fen, row.history);
    fake.ClearRecords();
    if (row.user) Drag(row.user);
    Publish(row.computer, row.detail, row.noMoves);
    ASSERT_TRUE(FramesUntilUsersTurn(false)) << row.text;
    EXPECT_TRUE(Announcements().empty()) << "announced before the final frame was shown";
    ASSERT_TRUE(FramesUntilUsersTurn() && FramesUntilUsersTurn());
    EXPECT_EQ(Announcements(), std::vector<std::string>{row.text});
    EXPECT_EQ(fake.Messages()[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(app->game.gameEnded && BoardShowsEngine() && app->game.record.endPly == app->game.record.recordedMoves);
    EXPECT_EQ(app->gameDrawn, row.text == DrawText);
    Press(Sq("e0"));
    EXPECT_EQ(app->draggedPiece.code, -1) << "a piece moves after the end";
  }
}

TEST_F(ComputerTurn, BadMovesOfTheComputerAreNeverPlayedAndLoseTheGame) {
  Start();
  const struct { uint8_t from, to; } rows[] = {{25, NoSquare}, {200, 22}, {40, 49}, {67, 58}, {0, 1}, {25, 40}};
  for (const auto& row : rows) {
    SetPosition(StartFen);
    fake.ClearRecords();
    Drag("b2e2");
    const BoardPosition shown = app->savedBoard;
    Move bad;
    bad.from = row.from, bad.to = row.to;
    Publish(bad);
    ASSERT_TRUE(FramesUntilUsersTurn()) << int(row.from) << ": the game must not hang";
    EXPECT_EQ(app->game.record.moveCount, 1);
    EXPECT_EQ(std::memcmp(app->savedBoard.squares, shown.squares, BoardSquares), 0);
    EXPECT_EQ(Announcements(), std::vector<std::string>{UserWonText}) << int(row.from);
  }
}

}  // namespace
}  // namespace rq::test
