// Key H with the real search worker: the two stages, a drag that gives the hint up
// half-way, and a game that stays exactly as it was.
#include <chrono>
#include <sstream>
#include <thread>

#include "interaction/commands.h"
#include "interaction_fixture.h"

namespace rq::test {
namespace {

constexpr const char* StartFen = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w";

class Hint : public InteractionTest {
 protected:
  void PressH() { OnKeyDown(*app, KeyHint); }
  // Frames 16 fake ms and a few real ms apart, until `done` holds; false after two minutes.
  template <typename F>
  bool FramesUntil(F done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (std::chrono::steady_clock::now() < deadline) {
      Frame();
      if (Held(done)) return true;
      fake.AdvanceClock(16);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }
  template <typename F>
  bool Held(F f) {
    LockGame(app->game);
    const bool result = f();
    UnlockGame(app->game);
    return result;
  }
  // The deepening ends by depth alone (three plies), so a search can be repeated exactly.
  void Limits(double seconds, int32_t depth) {
    LockGame(app->game);
    app->game.thinkSeconds = seconds;
    app->game.firstTimedDepth = depth;
    UnlockGame(app->game);
  }
  // All that a search on the game's record could leave changed.
  std::string GameBytes() {
    LockGame(app->game);
    const GameRecord& r = app->game.record;
    std::ostringstream out;
    out.write(reinterpret_cast<const char*>(r.position.squares), BoardSquares);
    out.write(reinterpret_cast<const char*>(r.pieceSquare), sizeof r.pieceSquare);
    out.write(reinterpret_cast<const char*>(r.history), sizeof r.history);
    out << r.position.boardValue << ' ' << r.position.boardExtraValue << ' ' << r.moveCount << ' '
        << r.recordedMoves << ' ' << r.depthLimit << ' ' << r.searchNodes << ' ' << r.random;
    UnlockGame(app->game);
    return out.str();
  }
};

TEST_F(Hint, TwoStagesShowRedsMoveAndLeaveTheGameAsItWas) {
  Start(true);
  Limits(0.0, 4);
  PlayHistory({"b2e2", "h9g7", "h2h4", "b9c7"});
  OnKeyDown(*app, KeyUndo);  // a redo list that the hint must leave alone
  struct Row {
    int pressesBefore, stageAnswered, pressesAfter, stageAfter;
  };
  for (const Row& row : {Row{1, 1, 0, 1}, Row{1, 1, 1, 2}, Row{2, 2, 0, 2}, Row{1, 1, 2, 2}}) {
    app->hint = HintDisplay{};
    const std::string before = GameBytes();
    for (int i = 0; i < row.pressesBefore; ++i) PressH();
    ASSERT_TRUE(FramesUntil([&] { return app->hint.asked == 0; }));
    EXPECT_EQ(app->hint.stage, row.stageAnswered) << row.pressesBefore;
    for (int i = 0; i < row.pressesAfter; ++i) PressH();
    EXPECT_EQ(app->hint.stage, row.stageAfter) << row.pressesBefore << "+" << row.pressesAfter;
    EXPECT_EQ(GameBytes(), before) << row.pressesBefore;
  }
  const Move hint = app->hint.move;
  MoveTo(hint.from);
  bool permitted = false;
  for (int i = 0; i < app->candidateCount; ++i)
    permitted |= app->candidateMoves[i].to == hint.to && app->candidateMoves[i].status > 0;
  EXPECT_TRUE(permitted) << FormatMove(hint.from, hint.to);
  Drag(hint.from, hint.to);
  EXPECT_EQ(app->hint.stage, 0);
  EXPECT_EQ(app->game.record.moveCount, 3);
}

TEST_F(Hint, TheComputersNextSearchIsTheOneWithoutTheHint) {
  Start(true);
  enum Way { NoHint, Answered, DraggedMidSearch };
  Move reference;
  uint64_t referenceNodes = 0;
  for (Way way : {NoHint, Answered, DraggedMidSearch}) {
    SetPosition(StartFen);
    app->game.record.seedRandom(7);
    Limits(0.0, 4);
    if (way == Answered) {
      PressH();
      PressH();
      ASSERT_TRUE(FramesUntil([&] { return app->hint.stage == 2; }));
    } else if (way == DraggedMidSearch) {
      Limits(1000.0, 60);  // a search that only the stop can end
      PressH();
      ASSERT_TRUE(FramesUntil([&] { return app->game.searching; }));
      Limits(0.0, 4);
    }
    Drag("h2e2");
    EXPECT_EQ(app->hint.stage + static_cast<int>(app->hint.asked), 0) << way;
    ASSERT_TRUE(FramesUntil([&] { return app->game.usersTurn; })) << way;
    EXPECT_EQ(app->hint.stage, 0) << way;
    EXPECT_FALSE(app->game.gameEnded) << way;
    if (way == NoHint) {
      reference = app->lastMove;
      referenceNodes = app->game.record.searchNodes;
    }
    EXPECT_EQ(FormatMove(app->lastMove.from, app->lastMove.to), FormatMove(reference.from, reference.to)) << way;
    EXPECT_EQ(app->game.record.searchNodes, referenceNodes) << way;
  }
}

TEST_F(Hint, IsIgnoredOffTheUsersTurnAfterTheEndAndWithAPieceInHand) {
  Start(true);
  struct Row {
    const char* what;
    bool usersTurn, ended, pieceHeld;
  };
  for (const Row& row : {Row{"computer's turn", false, false, false}, Row{"game ended", true, true, false},
                         Row{"piece held", true, false, true}}) {
    SetPosition(StartFen);
    LockGame(app->game);
    app->game.usersTurn = row.usersTurn;
    app->game.gameEnded = row.ended;
    UnlockGame(app->game);
    if (row.pieceHeld) OnButtonDown(*app, PixelX(Sq("h2")), PixelY(Sq("h2")));
    PressH();
    EXPECT_EQ(app->hint.asked, 0u) << row.what;
    EXPECT_FALSE(Held([&] { return app->game.searchRequested || app->game.searching; })) << row.what;
    EndDrag(*app);
  }
}

}  // namespace
}  // namespace rq::test
