// Key H with the real search worker: two stages, a drag that gives it up, the game left as it was.
#include "interaction_fixture.h"

namespace rq::test {
namespace {

class Hint : public InteractionTest {
 protected:
  void SetUp() override { Start(true); }
  // Depth 4 is never started with no seconds to think: three plies, the same every time.
  void Limits(double seconds = 0.0, int32_t firstTimedDepth = 4) {
    GameLockGuard hold(app->game);
    app->game.thinkSeconds = seconds;
    app->game.firstTimedDepth = firstTimedDepth;
  }
  // All that a search on the game's record could leave changed.
  std::string GameBytes(const GameRecord& r) {
    auto bytes = [](const auto& v) { return std::string(reinterpret_cast<const char*>(&v), sizeof v); };
    return bytes(r.position.squares) + bytes(r.position.boardValue) + bytes(r.position.boardExtraValue) +
           bytes(r.pieceSquare) + bytes(r.history) + bytes(r.moveCount) + bytes(r.recordedMoves) + bytes(r.depthLimit) +
           bytes(r.searchNodes) + bytes(r.random);
  }
};

TEST_F(Hint, TwoStagesShowRedsMoveAndLeaveTheGameAsItWas) {
  Limits();
  SetPosition(StartFen, {"b2e2", "h9g7", "h2h4", "b9c7"});
  OnKeyDown(*app, KeyUndo);  // a redo list that the hint must leave alone
  struct Row { int pressesBefore, stageAnswered, pressesAfter, stageAfter; };
  for (const Row& row : {Row{1, 1, 0, 1}, Row{1, 1, 1, 2}, Row{2, 2, 0, 2}, Row{1, 1, 2, 2}}) {
    app->hint = HintDisplay{};
    const std::string before = GameBytes(app->game.record);
    for (int i = 0; i < row.pressesBefore; ++i) OnKeyDown(*app, KeyHint);
    ASSERT_TRUE(FramesUntil([&] { return app->hint.asked == 0; }));
    EXPECT_EQ(app->hint.stage, row.stageAnswered) << row.pressesBefore;
    for (int i = 0; i < row.pressesAfter; ++i) OnKeyDown(*app, KeyHint);
    EXPECT_EQ(app->hint.stage, row.stageAfter) << row.pressesBefore << "+" << row.pressesAfter;
    EXPECT_EQ(GameBytes(app->game.record), before) << row.pressesBefore << "+" << row.pressesAfter;
  }
  Drag(FormatMove(app->hint.move.from, app->hint.move.to));
  EXPECT_EQ(app->game.record.moveCount, 3) << "the hint is one of red's permitted moves";
  EXPECT_EQ(app->hint.stage, 0);
}

// Playing green, the hint is a move of green's, which the drag then plays.
TEST_F(Hint, AGreenPlayersHintIsGreensMove) {
  Limits();
  PlayAs(Green);
  SetPosition(StartFen, {"h2e2"});
  UnderGameLock(app->game, [&] { app->game.usersTurn = true; });
  OnKeyDown(*app, KeyHint);
  ASSERT_TRUE(FramesUntil([&] { return app->hint.asked == 0; }));
  ASSERT_EQ(app->hint.stage, 1);
  EXPECT_EQ(sideOfCode(app->savedBoard.squares[app->hint.move.from]), Green);
  Drag(FormatMove(app->hint.move.from, app->hint.move.to));
  EXPECT_EQ(app->game.record.moveCount, 2);
}

TEST_F(Hint, TheComputersNextSearchIsTheOneWithoutTheHint) {
  enum Way { NoHint, Answered, DraggedMidSearch };
  std::string reference;
  for (Way way : {NoHint, Answered, DraggedMidSearch}) {
    SetPosition(StartFen);
    app->game.record.seedRandom(7);
    Limits();
    if (way == Answered) {
      OnKeyDown(*app, KeyHint);
      OnKeyDown(*app, KeyHint);
      ASSERT_TRUE(FramesUntil([&] { return app->hint.stage == 2; }));
    } else if (way == DraggedMidSearch) {
      Limits(1000.0, 60);  // a search that only the stop can end
      OnKeyDown(*app, KeyHint);
      ASSERT_TRUE(FramesUntil([&] { return app->game.searching; }));
      Limits();
    }
    Drag("h2e2");
    EXPECT_EQ(app->hint.stage + static_cast<int>(app->hint.asked), 0) << way;
    ASSERT_TRUE(FramesUntilUsersTurn()) << way;
    EXPECT_FALSE(app->game.gameEnded) << way;
    EXPECT_EQ(app->hint.stage, 0) << way;
    const std::string nodes = std::to_string(app->game.record.searchNodes);
    const std::string answer = FormatMove(app->lastMove.from, app->lastMove.to) + " after " + nodes + " nodes";
    EXPECT_EQ(answer, way == NoHint ? (reference = answer) : reference) << way;
  }
}

TEST_F(Hint, IsIgnoredOnTheComputersTurnAfterTheEndAndWithAPieceInHand) {
  struct Row { bool usersTurn, ended, pieceHeld; };
  for (const Row& row : {Row{false, false, false}, Row{true, true, false}, Row{true, false, true}}) {
    UnderGameLock(app->game, [&] {
      app->game.usersTurn = row.usersTurn;
      app->game.gameEnded = row.ended;
    });
    if (row.pieceHeld) Press(Sq("h2"));
    OnKeyDown(*app, KeyHint);
    EXPECT_EQ(app->hint.asked, 0u) << row.usersTurn << row.ended << row.pieceHeld;
    EndDrag(*app);
  }
}

}  // namespace
}  // namespace rq::test
