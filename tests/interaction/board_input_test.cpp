// Picking, hovering, dragging and dropping, the lists of taken pieces, and the computer's
// answer on its way to the board with the announcements at the end.
#include "interaction/board_picking.h"
#include "interaction/captured_pieces.h"
#include "interaction_fixture.h"

namespace rq::test {
namespace {

using Board = InteractionTest;
constexpr const char* Pinned = "4k4/9/9/9/4R4/9/9/9/9/4K4 w - - 0 1";  // a chariot between the generals
constexpr const char* Shuffle = "3k5/8r/9/9/9/9/9/9/R8/4K4 w - - 0 1";

TEST_F(Board, PickingUsesTheRadiusAndTheDropLandsWhereThePieceIsDrawn) {
  Start();
  const struct { double scale; int32_t x, y; int square, code; int32_t grabX, grabY; } rows[] = {
      {1.0, 277, 770, 64, 0x4A, -35, 0}, {1.0, 278, 770, -1, -1, 0, 0}, {1.0, 217, 795, 64, 0x4A, 25, 25},
      {1.0, 242, 140, 1, -1, 0, 0},      {0.75, 190, 580, 64, 0x4A, -11, 3},
  };
  for (const auto& row : rows) {
    SetScale(row.scale);
    const ScenePoint p = PointerToScene(*app, row.x, row.y);
    PickedPiece picked;
    EXPECT_EQ(SquareAtPoint(*app, p), row.square) << row.x;
    EXPECT_EQ(PieceAtPoint(*app, p, picked), row.code >= 0) << row.x;
    EXPECT_TRUE(picked.code == row.code && picked.grabOffsetX == row.grabX && picked.grabOffsetY == row.grabY) << row.x;
  }
  for (double scale : {1.0, 0.8125}) {
    SetPosition(StartFen);
    SetScale(scale);
    // Seized off its centre, let go with the piece on the target and the pointer 36 units off it.
    OnPointerMove(*app, X(Sq("b2"), 20), Y(Sq("b2"), -20));
    OnButtonDown(*app, X(Sq("b2"), 20), Y(Sq("b2"), -20));
    OnButtonUp(*app, X(Sq("e2"), 20), Y(Sq("e2"), -30));
    EXPECT_EQ(app->savedBoard.squares[Sq("e2")], 0x4A) << scale;
  }
}

// Each row drags a piece over a point, reads the explanation there, and drops it there.
TEST_F(Board, DropsPlayOnlyPermittedMovesAndHandOverOrEndTheGame) {
  Start();
  const auto shuffle = Cycles("a1a2", "i8i7", "a2a1", "i7i8");
  const struct { const char* fen; std::vector<std::string> history; const char* move; double dx; bool usersTurn, ended;
                 int32_t reason, status; uint8_t taken; bool over; } rows[] = {  // status 0: not played
      {Pinned, {}, "e5d5", 0, true, false, 1, 0, 0, false},         {Pinned, {}, "e5e3", 0, true, false, 0, 1, 0, false},
      {StartFen, {}, "b2b2", 0, true, false, 0, 0, 0, false},       {StartFen, {}, "b2b5", 45, true, false, 0, 0, 0, false},
      {StartFen, {}, "b2c4", 0, true, false, 0, 0, 0, false},       {StartFen, {}, "b2b0", 0, true, false, 0, 0, 0, false},
      {StartFen, {}, "b2a2", -200, true, false, 0, 0, 0, false},    {StartFen, {}, "b2e2", 0, false, false, 0, 0, 0, false},
      {StartFen, {}, "b2e2", 0, true, true, 0, 0, 0, false},        {StartFen, {}, "b2b9", 0, true, false, 0, 2, 0x28, false},
      {"4k4/9/9/9/9/9/9/9/9/3KR4 w - - 0 1", {}, "e0e9", 0, true, false, 0, 2, 0x30, true},
      {Shuffle, shuffle, "a1a2", 0, true, false, 4, -4, 0, true},
  };
  for (const auto& row : rows) {
    SetPosition(row.fen, row.history);
    app->game.usersTurn = row.usersTurn;
    app->game.gameEnded = row.ended;
    app->computerMoveReady = true;
    const BoardPosition before = app->savedBoard;
    const Move m = MoveOf(row.move);
    Press(m.from);
    EXPECT_EQ(app->savedBoard.squares[m.from] == 0, row.usersTurn && !row.ended) << row.move << ": held off the board";
    OnPointerMove(*app, X(m.to, row.dx), Y(m.to, row.dx));
    EXPECT_EQ(app->explanationShown ? app->explanationReason : 0, row.reason) << row.move;
    OnButtonUp(*app, X(m.to, row.dx), Y(m.to, row.dx));
    EXPECT_EQ(app->draggedPiece.code, -1);
    const GameRecord& r = app->game.record;
    EXPECT_EQ(r.moveCount, static_cast<int32_t>(row.history.size()) + (row.status ? 1 : 0)) << row.move;
    EXPECT_EQ(app->lastMove.status, row.status ? row.status : NoLastMove) << row.move;
    EXPECT_TRUE(row.status ? BoardShowsEngine() : std::memcmp(app->savedBoard.squares, before.squares, BoardSquares) == 0);
    if (!row.status) continue;
    EXPECT_EQ(EatenGreen(), row.taken ? std::vector<uint8_t>{row.taken} : std::vector<uint8_t>{}) << row.move;
    EXPECT_FALSE(app->game.usersTurn);
    EXPECT_EQ(app->game.searchRequested, !row.over) << row.move;
    EXPECT_EQ(app->computerMoveReady, row.over) << row.move;
    EXPECT_EQ(app->game.gameEnded && app->userEndAnnouncement && r.endPly == r.recordedMoves, row.over) << row.move;
    EXPECT_EQ(app->gameDrawn, row.status < 0) << row.move;
    EXPECT_EQ(fake.CurrentCursor(), row.over ? FakePlatform::ArrowToken() : FakePlatform::BusyToken()) << row.move;
  }
}

TEST_F(Board, AHeldPieceGoesBackBeforeACommandOrASecondPress) {
  Start();
  Press(Sq("b2"));
  OnButtonDown(*app, X(Sq("h2")), Y(Sq("h2")));
  OnButtonUp(*app, X(Sq("h2")), Y(Sq("h2")));
  EXPECT_TRUE(BoardShowsEngine());
  PlayPair("b2e2", "h7e7");
  Press(Sq("e2"));
  OnKeyDown(*app, KeyUndo);
  EXPECT_EQ(app->draggedPiece.code, -1);
  OnButtonUp(*app, X(Sq("e6")), Y(Sq("e6")));
  EXPECT_EQ(app->game.record.moveCount, 0) << "the release played from the list of the position before";
  EXPECT_TRUE(BoardShowsEngine());
}

TEST_F(Board, EatenListsStayWithinSixteenEntries) {
  Start();
  const struct { int32_t before; bool add; int32_t after; } rows[] = {
      {15, true, 16}, {16, true, 16}, {40, true, 40}, {-3, true, 1}, {0, false, 0}, {40, false, 15}};
  for (const auto& row : rows) {
    app->eatenRedCount = 5;
    std::memset(app->eatenRed, 0x41, sizeof app->eatenRed);
    app->eatenGreenCount = row.before;
    Move m;
    m.captured = 0x28;
    if (row.add) AddEatenPiece(*app, m);
    else RemoveEatenPiece(*app, m.captured);
    EXPECT_EQ(app->eatenGreenCount, row.after) << row.before;
    EXPECT_EQ(app->eatenRedCount, 5);
    EXPECT_EQ(std::count(app->eatenRed, app->eatenRed + EatenCapacity, 0x41), EatenCapacity) << "written past the list";
  }
}

using ComputerTurn = InteractionTest;

// Coarse frames too: the answer is drawn moving before it is played.
TEST_F(ComputerTurn, TheAnswerIsAnimatedForHalfASecondThenPlayed) {
  Start();
  for (int32_t step : {16, 2000}) {
    SetPosition(StartFen);
    Drag("b2e2");
    Publish("h7e7");
    fake.SetClock(5000 * step);
    bool drawn = false;
    for (int frame = 0; !app->game.usersTurn && frame < 200; ++frame, fake.AdvanceClock(step)) {
      drawn = app->computerMoveReady;
      UpdateComputerTurn(*app);
    }
    EXPECT_TRUE(drawn && fake.ElapsedMilliseconds() > 5000 * step + ComputerMoveAnimationMs) << step;
    EXPECT_TRUE(FormatMove(app->lastMove) == "h7e7" && BoardShowsEngine() && Announcements().empty());
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
