// The computer's answer on its way to the board, and the announcements at the end.
#include "interaction/computer_turn.h"
#include "interaction_fixture.h"

namespace rq::test {
namespace {

using ComputerTurn = InteractionTest;

TEST_F(ComputerTurn, AnswerIsAnimatedForHalfASecondThenPlayed) {
  Start();
  const int32_t frameSteps[] = {16, 100, 2000};
  for (int32_t step : frameSteps) {
    SetPosition(StartFen);
    Drag("b2e2");
    ASSERT_TRUE(app->game.searchRequested);
    // Requested, then running: frames only show the busy cursor.
    for (int phase = 0; phase < 2; ++phase) {
      fake.ClearRecords();
      UpdateComputerTurn(*app);
      EXPECT_EQ(fake.CursorChanges(), std::vector<CursorHandle>{FakePlatform::BusyToken()}) << step;
      EXPECT_FALSE(app->computerMoveAnimating) << step;
      EXPECT_FALSE(app->usersTurnAtFrameStart) << step;
      LockGame(app->game);
      app->game.searchRequested = false;
      app->game.searching = true;
      UnlockGame(app->game);
    }
    Publish("h7e7");
    const int32_t start = 5000 * step;
    fake.SetClock(start);
    UpdateComputerTurn(*app);
    EXPECT_TRUE(app->computerMoveAnimating) << step;
    EXPECT_EQ(app->animationStart, start) << step;
    EXPECT_EQ(app->animatedMove.from, Sq("h7")) << step;
    EXPECT_EQ(app->animatedMove.to, Sq("e7")) << step;
    EXPECT_EQ(app->game.progress, 1.0) << step;
    EXPECT_EQ(fake.CurrentCursor(), FakePlatform::ArrowToken()) << step;

    int32_t playedAt = -1;
    double lastProgress = 0.0;
    for (int frame = 0; frame < 100 && playedAt < 0; ++frame) {
      fake.AdvanceClock(step);
      const bool readyBefore = app->computerMoveReady;
      UpdateComputerTurn(*app);
      if (app->game.usersTurn) {
        playedAt = fake.ElapsedMilliseconds();
        EXPECT_TRUE(readyBefore) << step << ": played on the frame that ended the animation";
      } else {
        EXPECT_EQ(app->game.record.moveCount, 1) << step;
        EXPECT_GE(app->animProgress, lastProgress) << step;
        EXPECT_LE(app->animProgress, 1.0) << step;
        lastProgress = app->animProgress;
      }
    }
    ASSERT_GT(playedAt, start + ComputerMoveAnimationMs) << step;
    EXPECT_EQ(lastProgress, 1.0) << step;
    EXPECT_EQ(app->game.record.moveCount, 2) << step;
    EXPECT_EQ(FormatMove(app->lastMove), "h7e7") << step;
    EXPECT_TRUE(BoardShowsEngine()) << step;
    EXPECT_FALSE(app->computerMoveAnimating) << step;
    EXPECT_FALSE(app->game.gameEnded) << step;
    EXPECT_TRUE(Announcements().empty()) << step;
  }
}

TEST_F(ComputerTurn, EveryEndOfGameIsAnnouncedOnceWithItsText) {
  Start();
  const auto redShuffle = Cycles("a1a2", "i8i7", "a2a1", "i7i8");
  const auto greenShuffle = Cycles("i8i7", "a1a2", "i7i8", "a2a1");
  struct Row {
    const char* what;
    const char* fen;
    std::vector<const char*> history;
    const char* userMove;      // dragged first, if any
    const char* computerMove;  // published, if any
    int32_t detail;
    bool noMoves;
    const char* text;
    bool drawn;
  };
  const Row rows[] = {
      {"user takes the general", "4k4/9/9/9/9/9/9/9/9/3KR4 w - - 0 1", {}, "e0e9", nullptr, 0, false, UserWonText, false},
      {"computer takes the general", "4k4/9/9/9/9/P8/9/9/9/r2K5 w - - 0 1", {}, "a4a5", "a0d0", 0, false, ComputerWonText, false},
      {"red has no permitted move", "4k4/9/9/9/9/9/4p4/9/4N4/3AKA3 b - - 0 1", {}, nullptr, "e3d3", 0, false, ComputerWonText, false},
      {"computer has no move", StartFen, {}, "b2e2", nullptr, 0, true, UserWonText, false},
      {"user's repetition draw", "3k5/8r/9/9/9/9/9/9/R8/4K4 w - - 0 1", redShuffle, "a1a2", nullptr, 0, false, DrawText, true},
      {"computer's repetition draw", "3k5/8r/9/9/9/9/9/9/R8/4K4 b - - 0 1", greenShuffle, nullptr, "i8i7", 4, false, DrawText, true},
  };
  for (const Row& row : rows) {
    SetPosition(row.fen);
    PlayHistory(row.history);
    fake.ClearRecords();
    if (row.userMove) Drag(row.userMove);
    if (row.computerMove || row.noMoves) Publish(row.computerMove, row.detail, row.noMoves);
    ASSERT_GT(RunFramesUntilUsersTurn(200, false), 0) << row.what;
    EXPECT_TRUE(Announcements().empty()) << row.what << ": announced before the final frame was shown";
    for (int more = 0; more < 5; ++more) Frame();
    EXPECT_EQ(Announcements(), std::vector<std::string>{row.text}) << row.what;
    for (const RecordedMessage& m : fake.Messages()) {
      EXPECT_EQ(m.buttons, MessageButtons::Ok) << row.what;
    }
    const GameRecord& r = app->game.record;
    EXPECT_TRUE(app->game.gameEnded) << row.what;
    EXPECT_TRUE(app->game.usersTurn) << row.what;
    EXPECT_EQ(r.endPly, r.recordedMoves) << row.what;
    EXPECT_EQ(app->gameDrawn, row.drawn) << row.what;
    EXPECT_TRUE(BoardShowsEngine()) << row.what;
    if (std::string(row.what) == "red has no permitted move") {
      EXPECT_FALSE(app->game.record.isRedGeneralAttacked()) << "lost without being in check";
    }
    // Nothing but the menu acts after the end.
    OnButtonDown(*app, PixelX(Sq("e0")), PixelY(Sq("e0")));
    EXPECT_EQ(app->draggedPiece.code, -1) << row.what;
    OnButtonUp(*app, PixelX(Sq("e0")), PixelY(Sq("e0")));
    app->gameDrawn = false;
  }
}

TEST_F(ComputerTurn, MovesOffTheBoardOrNotOfTheComputersPieceAreNeverPlayed) {
  Start();
  struct Row { const char* what; uint8_t from, to; };
  const Row rows[] = {
      {"destination off the board", 25, NoSquare},
      {"origin off the board", 200, 22},
      {"empty origin", 40, 49},
      {"a red piece", 67, 58},
      {"onto its own piece", 0, 1},
      {"a move the piece cannot make", 25, 40},
  };
  for (const Row& row : rows) {
    SetPosition(StartFen);
    fake.ClearRecords();
    Drag("b2e2");
    const BoardPosition shown = app->savedBoard;
    Move bad;
    bad.from = row.from;
    bad.to = row.to;
    PublishMove(bad);
    ASSERT_GT(RunFramesUntilUsersTurn(), 0) << row.what << ": the game must not hang";
    EXPECT_EQ(app->game.record.moveCount, 1) << row.what;
    EXPECT_EQ(std::memcmp(app->savedBoard.squares, shown.squares, BoardSquares), 0) << row.what;
    EXPECT_FALSE(app->computerMoveAnimating) << row.what;
    EXPECT_TRUE(app->game.gameEnded) << row.what;
    EXPECT_EQ(Announcements(), std::vector<std::string>{UserWonText}) << row.what;
  }
}

}  // namespace
}  // namespace rq::test
