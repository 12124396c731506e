// Picking, hovering, dragging and dropping on the fake desktop.
#include "interaction/board_picking.h"
#include "interaction/captured_pieces.h"
#include "interaction/commands.h"
#include "interaction_fixture.h"

namespace rq::test {
namespace {

using Board = InteractionTest;

constexpr const char* Pinned = "4k4/9/9/9/4R4/9/9/9/9/4K4 w - - 0 1";  // chariot between the generals
constexpr const char* Shuffle = "3k5/8r/9/9/9/9/9/9/R8/4K4 w - - 0 1";

TEST_F(Board, PickingUsesTheRadiusAndTruncatesTheGrabOffset) {
  Start();
  struct Row {
    const char* what;
    double scale;
    int32_t x, y;                  // client pixels
    int square, code;              // expected square and red piece code, -1 none
    int32_t grabX, grabY;          // expected grab offset
  };
  const Row rows[] = {
      {"centre of the red cannon", 1.0, 242, 770, 64, 0x4A, 0, 0},
      {"35 units off still picks", 1.0, 277, 770, 64, 0x4A, -35, 0},
      {"36 units off is outside", 1.0, 278, 770, -1, -1, 0, 0},
      {"diagonal inside the radius", 1.0, 217, 795, 64, 0x4A, 25, 25},
      {"between points", 1.0, 287, 815, -1, -1, 0, 0},
      {"a green piece is a square but no pick", 1.0, 242, 140, 1, -1, 0, 0},
      {"empty point", 1.0, 602, 590, 50, -1, 0, 0},
      {"half scale", 0.5, 121, 385, 64, 0x4A, 0, 0},
      {"offsets truncate toward zero", 0.75, 190, 580, 64, 0x4A, -11, 3},
      {"small offsets truncate to zero", 0.75, 180, 577, 64, 0x4A, 2, 0},
  };
  for (const Row& row : rows) {
    SetScale(row.scale);
    const ScenePoint p = PointerToScene(*app, row.x, row.y);
    EXPECT_EQ(SquareAtPoint(*app, p), row.square) << row.what;
    PickedPiece picked;
    EXPECT_EQ(PieceAtPoint(*app, p, picked), row.code >= 0) << row.what;
    EXPECT_EQ(picked.code, row.code) << row.what;
    EXPECT_EQ(picked.grabOffsetX, row.grabX) << row.what;
    EXPECT_EQ(picked.grabOffsetY, row.grabY) << row.what;
  }
}

TEST_F(Board, HoverListsCapturesThenQuietMovesWithTheirStatus) {
  Start();
  struct Expect { int to; int32_t status, detail; };
  struct Row {
    const char* what;
    const char* fen;
    std::vector<const char*> history;
    const char* piece;
    int32_t captures;
    bool complete;  // the moves are the whole list, not just its start
    std::vector<Expect> moves;
  };
  const Row rows[] = {
      {"cannon in the opening", StartFen, {}, "b2", 1, true,
       {{1, 2, 0}, {55, 1, 0}, {46, 1, 0}, {37, 1, 0}, {28, 1, 0}, {73, 1, 0}, {63, 1, 0},
        {65, 1, 0}, {66, 1, 0}, {67, 1, 0}, {68, 1, 0}, {69, 1, 0}}},
      {"horse in the opening", StartFen, {}, "b0", 0, true, {{65, 1, 0}, {63, 1, 0}}},
      {"pinned chariot", Pinned, {}, "e5", 1, true,
       {{4, 2, 0}, {31, 1, 0}, {22, 1, 0}, {13, 1, 0}, {49, 1, 0}, {58, 1, 0}, {67, 1, 0}, {76, 1, 0},
        {39, -1, 0}, {38, -1, 0}, {37, -1, 0}, {36, -1, 0}, {41, -1, 0}, {42, -1, 0}, {43, -1, 0}, {44, -1, 0}}},
      {"drawing repetition", Shuffle, Cycles("a1a2", "i8i7", "a2a1", "i7i8"), "a1", 0, true,
       {{63, -4, 0}, {54, 1, 0}, {45, 1, 0}, {36, 1, 0}, {27, 1, 0}, {18, 1, 0}, {9, 1, 0}, {0, 1, 0},
        {81, 1, 0}, {73, 1, 0}, {74, 1, 0}, {75, 1, 0}, {76, 1, 0}, {77, 1, 0}, {78, 1, 0}, {79, 1, 0}, {80, 1, 0}}},
      {"perpetual chase names the chased horse", "4k4/9/9/9/9/9/1n7/9/R8/3K5 w - - 0 1",
       Cycles("a1a3", "b3c1", "a3a1", "c1b3"), "a1", 0, false, {{63, 1, 0}, {54, -3, 0x28}}},
      {"perpetual check", "4k4/R8/9/9/9/9/9/9/9/3K5 w - - 0 1", Cycles("a8a9", "e9e8", "a9a8", "e8e9"), "a8", 0,
       false, {{0, -2, 0}}},
  };
  for (const Row& row : rows) {
    SetPosition(row.fen);
    PlayHistory(row.history);
    MoveTo(Sq(row.piece));
    EXPECT_TRUE(app->candidatesShown) << row.what;
    EXPECT_EQ(app->captureCandidateCount, row.captures) << row.what;
    EXPECT_EQ(app->candidateCount, app->captureCandidateCount + app->quietCandidateCount) << row.what;
    ASSERT_GE(app->candidateCount, static_cast<int32_t>(row.moves.size())) << row.what;
    if (row.complete) {
      EXPECT_EQ(app->candidateCount, static_cast<int32_t>(row.moves.size())) << row.what;
    }
    for (size_t i = 0; i < row.moves.size(); ++i) {
      const Move& m = app->candidateMoves[i];
      EXPECT_EQ(m.from, Sq(row.piece)) << row.what << " #" << i;
      EXPECT_EQ(m.to, row.moves[i].to) << row.what << " #" << i;
      EXPECT_EQ(m.status, row.moves[i].status) << row.what << " #" << i;
      EXPECT_EQ(m.status < 0 ? m.detail : 0, row.moves[i].detail) << row.what << " #" << i;
    }
    EXPECT_TRUE(BoardShowsEngine()) << row.what << ": judging left the position changed";
  }
}

TEST_F(Board, HoverKeepsItsListAndChoosesTheCursor) {
  Start();
  ASSERT_NE(app->copyCursor, nullptr);
  MoveTo(Sq("b2"));
  EXPECT_EQ(fake.CurrentCursor(), app->copyCursor);
  // The cached list is not rebuilt while the pointer stays on the piece.
  app->candidateMoves[0].status = 77;
  OnPointerMove(*app, PixelX(Sq("b2"), 5), PixelY(Sq("b2"), 5));
  EXPECT_EQ(app->candidateMoves[0].status, 77);
  // Off the piece: arrow, list hidden but kept for the way back.
  MoveTo(Sq("e5"));
  EXPECT_EQ(fake.CurrentCursor(), FakePlatform::ArrowToken());
  EXPECT_FALSE(app->candidatesShown);
  MoveTo(Sq("b2"));
  EXPECT_TRUE(app->candidatesShown);
  EXPECT_EQ(app->candidateMoves[0].status, 77);
  OnPointerLeave(*app);
  EXPECT_FALSE(app->candidatesShown) << "markers stay after the pointer left the window";
  // Another piece builds its own list; a green piece is none of the user's.
  MoveTo(Sq("h2"));
  EXPECT_EQ(app->hoveredPiece, 11);
  MoveTo(Sq("b9"));
  EXPECT_EQ(fake.CurrentCursor(), FakePlatform::ArrowToken());
  // On the computer's turn the board shows the busy cursor and lists nothing.
  app->game.usersTurn = false;
  app->hoveredPiece = -1;
  MoveTo(Sq("b2"));
  EXPECT_EQ(fake.CurrentCursor(), FakePlatform::BusyToken());
  EXPECT_EQ(app->hoveredPiece, -1);
}

TEST_F(Board, MissingCopyCursorFallsBackToTheArrow) {
  fake.loadableCursorFiles.clear();
  Start();
  MoveTo(Sq("b2"));
  EXPECT_EQ(fake.CurrentCursor(), FakePlatform::ArrowToken());
}

// Each row drags a piece over a point, reads the explanation there, and drops it there.
TEST_F(Board, DraggingExplainsProhibitedPointsAndDropsPlayOnlyPermittedOnes) {
  Start();
  struct Row {
    const char* what;
    const char* fen;
    std::vector<const char*> history;
    const char* move;
    double dx, dy;  // drop offset from the target's centre, scene units
    bool usersTurn, ended;
    bool explained;
    int32_t reason;
    bool played;
  };
  const Row rows[] = {
      {"facing generals", Pinned, {}, "e5d5", 0, 0, true, false, true, 1, false},
      {"permitted point", Pinned, {}, "e5e3", 0, 0, true, false, false, 0, true},
      {"drawing repetition is explained yet played", Shuffle, Cycles("a1a2", "i8i7", "a2a1", "i7i8"), "a1a2", 0, 0,
       true, false, true, 4, true},
      {"own square", StartFen, {}, "b2b2", 0, 0, true, false, false, 0, false},
      {"between points", StartFen, {}, "b2b5", 45, 45, true, false, false, 0, false},
      {"unreachable point", StartFen, {}, "b2c4", 0, 0, true, false, false, 0, false},
      {"own piece", StartFen, {}, "b2b0", 0, 0, true, false, false, 0, false},
      {"off the board", StartFen, {}, "b2a2", -200, 0, true, false, false, 0, false},
      {"computer thinking", StartFen, {}, "b2e2", 0, 0, false, false, false, 0, false},
      {"game ended", StartFen, {}, "b2e2", 0, 0, true, true, false, 0, false},
  };
  for (const Row& row : rows) {
    SetPosition(row.fen);
    PlayHistory(row.history);
    app->game.usersTurn = row.usersTurn;
    app->game.gameEnded = row.ended;
    const BoardPosition before = app->savedBoard;
    const int32_t plies = app->game.record.moveCount;
    int from = 0, to = 0;
    ASSERT_TRUE(ParseMove(row.move, from, to));
    MoveTo(from);
    OnButtonDown(*app, PixelX(from), PixelY(from));
    const bool held = row.usersTurn && !row.ended;
    EXPECT_EQ(app->draggedPiece.code >= 0, held) << row.what;
    EXPECT_EQ(app->savedBoard.squares[from] == 0, held) << row.what << ": a held piece leaves the drawn board";
    OnPointerMove(*app, PixelX(to, row.dx), PixelY(to, row.dy));
    EXPECT_EQ(app->explanationShown, row.explained) << row.what;
    EXPECT_EQ(app->explanationShown ? app->explanationReason : 0, row.reason) << row.what;
    OnButtonUp(*app, PixelX(to, row.dx), PixelY(to, row.dy));
    EXPECT_EQ(app->game.record.moveCount, plies + (row.played ? 1 : 0)) << row.what;
    EXPECT_EQ(app->draggedPiece.code, -1) << row.what;
    if (row.played) {
      EXPECT_TRUE(BoardShowsEngine()) << row.what;
    } else {
      EXPECT_EQ(std::memcmp(app->savedBoard.squares, before.squares, BoardSquares), 0) << row.what;
      EXPECT_EQ(app->lastMove.status, NoLastMove) << row.what;
      EXPECT_FALSE(app->game.searchRequested) << row.what;
    }
  }
}

TEST_F(Board, PlayedMovesHandOverOrEndTheGame) {
  Start();
  struct Row {
    const char* what;
    const char* fen;
    std::vector<const char*> history;
    const char* move;
    int32_t status;
    uint8_t taken;
    bool ended, drawn;
  };
  const Row rows[] = {
      {"quiet move", StartFen, {}, "b2e2", 1, 0, false, false},
      {"capture", StartFen, {}, "b2b9", 2, 0x28, false, false},
      {"taking the general", "4k4/9/9/9/9/9/9/9/9/3KR4 w - - 0 1", {}, "e0e9", 2, 0x30, true, false},
      {"drawing repetition", Shuffle, Cycles("a1a2", "i8i7", "a2a1", "i7i8"), "a1a2", -4, 0, true, true},
  };
  for (const Row& row : rows) {
    SetPosition(row.fen);
    PlayHistory(row.history);
    app->computerMoveReady = true;
    Drag(row.move);
    const GameRecord& r = app->game.record;
    EXPECT_EQ(app->lastMove.status, row.status) << row.what;
    EXPECT_EQ(FormatMove(app->lastMove), row.move) << row.what;
    EXPECT_EQ(std::vector<uint8_t>(app->eatenGreen, app->eatenGreen + app->eatenGreenCount),
              row.taken ? std::vector<uint8_t>{row.taken} : std::vector<uint8_t>{}) << row.what;
    EXPECT_FALSE(app->game.usersTurn) << row.what;
    EXPECT_EQ(app->game.searchRequested, !row.ended) << row.what;
    EXPECT_EQ(app->computerMoveReady, row.ended) << row.what;
    EXPECT_EQ(app->game.gameEnded, row.ended) << row.what;
    EXPECT_EQ(app->gameDrawn, row.drawn) << row.what;
    EXPECT_EQ(app->userEndAnnouncement, row.ended) << row.what;
    EXPECT_EQ(r.endPly, row.ended ? r.recordedMoves : NoEndPly) << row.what;
    EXPECT_EQ(fake.CurrentCursor(), row.ended ? FakePlatform::ArrowToken() : FakePlatform::BusyToken()) << row.what;
  }
}

TEST_F(Board, DropLandsWhereThePieceIsDrawnAtAnyScale) {
  Start();
  for (double scale : {1.0, 0.5, 0.8125}) {
    SetPosition(StartFen);
    SetScale(scale);
    const int from = Sq("b2"), to = Sq("e2");
    // Seized 30 units right of its centre; released with the piece's centre 20 units below
    // the target, while the pointer itself is 36 units away from it.
    OnPointerMove(*app, PixelX(from, 30), PixelY(from));
    OnButtonDown(*app, PixelX(from, 30), PixelY(from));
    OnButtonUp(*app, PixelX(to, 30), PixelY(to, 20));
    EXPECT_EQ(app->savedBoard.squares[to], 0x4A) << scale;
  }
}

// A piece held when the program ends, or when a key changes the position, goes back first.
TEST_F(Board, HeldPieceGoesBackBeforeSaveOrCommand) {
  Start();
  const int from = Sq("b2");
  MoveTo(from);
  OnButtonDown(*app, PixelX(from), PixelY(from));
  ASSERT_EQ(app->savedBoard.squares[from], 0);
  EndDrag(*app);
  EXPECT_EQ(app->savedBoard.squares[from], 0x4A);
  app.reset();
  Start();
  EXPECT_EQ(app->savedBoard.squares[from], 0x4A) << "the saved game lost the held piece";

  // A second press without a release between must not lose the first piece.
  MoveTo(from);
  OnButtonDown(*app, PixelX(from), PixelY(from));
  OnButtonDown(*app, PixelX(Sq("h2")), PixelY(Sq("h2")));
  OnButtonUp(*app, PixelX(Sq("h2")), PixelY(Sq("h2")));
  EXPECT_TRUE(BoardShowsEngine());

  // Undo by key while the cannon is held: it goes back, and the release plays nothing
  // from the list of the position before.
  Drag("b2e2");
  Publish("h7e7");
  ASSERT_GT(RunFramesUntilUsersTurn(), 0);
  MoveTo(Sq("e2"));
  OnButtonDown(*app, PixelX(Sq("e2")), PixelY(Sq("e2")));
  OnKeyDown(*app, KeyUndo);
  EXPECT_EQ(app->draggedPiece.code, -1);
  OnButtonUp(*app, PixelX(Sq("e6")), PixelY(Sq("e6")));
  EXPECT_EQ(app->game.record.moveCount, 0);
  EXPECT_TRUE(BoardShowsEngine());
}

TEST_F(Board, EatenListsStayWithinSixteenEntries) {
  Start();
  struct Row {
    const char* what;
    int32_t greenCount;  // before
    bool add;            // add a green piece, else take one back
    int32_t expected;
  };
  const Row rows[] = {
      {"fifteenth to sixteenth", 15, true, 16},       {"full list takes no more", 16, true, 16},
      {"damaged count above capacity", 40, true, 40}, {"negative count restarts the list", -3, true, 1},
      {"undo on an empty list", 0, false, 0},         {"undo on a damaged count", 40, false, 15},
  };
  for (const Row& row : rows) {
    app->eatenRedCount = 5;
    std::memset(app->eatenRed, 0x41, sizeof app->eatenRed);
    app->eatenGreenCount = row.greenCount;
    Move m;
    m.captured = 0x28;
    if (row.add) AddEatenPiece(*app, m);
    else RemoveEatenPiece(*app, m.captured);
    EXPECT_EQ(app->eatenGreenCount, row.expected) << row.what;
    EXPECT_EQ(app->eatenRedCount, 5) << row.what;
    EXPECT_EQ(std::count(app->eatenRed, app->eatenRed + EatenCapacity, 0x41), EatenCapacity) << row.what;
  }
  // A capture played with a full list keeps it full.
  SetPosition(StartFen);
  app->eatenGreenCount = 16;
  Drag("b2b9");
  EXPECT_EQ(app->game.record.moveCount, 1);
  EXPECT_EQ(app->eatenGreenCount, 16);
}

}  // namespace
}  // namespace rq::test
