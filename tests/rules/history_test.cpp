#include <gtest/gtest.h>

#include "support/record_helpers.h"

namespace rq {
namespace {

TEST(History, UndoAndRedoWalkTheRecordedMoves) {
  GameRecord r;
  const test::Snapshot start(r);
  EXPECT_FALSE(r.canUndo());
  EXPECT_FALSE(r.canRedo());
  ASSERT_TRUE(test::Play(r, "b2b9"));  // cannon takes horse
  ASSERT_TRUE(test::Play(r, "a9b9"));  // chariot takes cannon back
  const test::Snapshot afterTwo(r);

  Move m;
  ASSERT_TRUE(r.undoMove(m));
  EXPECT_EQ(FormatMove(m), "a9b9");
  EXPECT_EQ(m.captured, 0x4A);
  ASSERT_TRUE(r.undoMove(m));
  EXPECT_EQ(FormatMove(m), "b2b9");
  EXPECT_EQ(m.captured, 0x28);
  EXPECT_FALSE(r.undoMove(m));
  EXPECT_EQ(r.recordedMoves, 2);
  test::Snapshot undone(r);
  undone.recordedMoves = 0;
  EXPECT_TRUE(undone == start);
  EXPECT_EQ(r.pieceSquare[Green][8], 1);  // the horse is back, its mark cleared

  ASSERT_TRUE(r.redoMove(m));
  ASSERT_TRUE(r.redoMove(m));
  EXPECT_FALSE(r.redoMove(m));
  EXPECT_TRUE(test::Snapshot(r) == afterTwo);

  // A new move after an undo discards what could have been redone.
  ASSERT_TRUE(r.undoMove(m));
  ASSERT_TRUE(test::Play(r, "a9a8"));
  EXPECT_EQ(r.recordedMoves, 2);
  EXPECT_FALSE(r.canRedo());
}

TEST(History, SnapshotsHoldTheListsAfterTheMove) {
  GameRecord r;
  ASSERT_TRUE(test::Play(r, "b2b9"));
  const HistoryEntry& e = r.history[0];
  EXPECT_EQ(e.from, 64);
  EXPECT_EQ(e.to, 1);
  EXPECT_EQ(e.captured, 0x28);
  EXPECT_EQ(e.pieceSquare[Red][10], 1);
  EXPECT_EQ(e.pieceSquare[Green][8], 0x80 | 1);
  EXPECT_EQ(e.pieceSquare[Red][0], 0);
}

TEST(History, DropLastRecordForgetsOnlyTheRecord) {
  GameRecord r;
  Move m = test::MoveOf("h2e2");
  r.makeMove(Red, m);
  ASSERT_TRUE(r.recordMove(m));
  ASSERT_TRUE(r.dropLastRecord());
  EXPECT_EQ(r.moveCount, 0);
  EXPECT_EQ(r.recordedMoves, 0);
  EXPECT_EQ(r.position.squares[67], 0x4B);  // the board is left alone
  EXPECT_FALSE(r.dropLastRecord());
}

// Once a move could not be recorded, the board and the history part ways: undo and
// redo must not take back or replay anything until a new game.
TEST(History, FullHistoryRefusesUndoAndRedo) {
  GameRecord r;
  const char* shuffle[4] = {"a0a1", "a9a8", "a1a0", "a8a9"};
  for (int ply = 0; ply < HistoryCapacity; ++ply) ASSERT_TRUE(test::Play(r, shuffle[ply % 4])) << ply;
  ASSERT_TRUE(r.canUndo());
  Move m = test::MoveOf(shuffle[0]);
  r.makeMove(Red, m);
  EXPECT_FALSE(r.recordMove(m));
  EXPECT_EQ(r.moveCount, HistoryCapacity);
  EXPECT_EQ(r.history[HistoryCapacity - 1].to, test::MoveOf(shuffle[3]).to);
  EXPECT_FALSE(r.canUndo());
  Move out;
  const test::Snapshot before(r);
  EXPECT_FALSE(r.undoMove(out));
  EXPECT_FALSE(r.redoMove(out));
  EXPECT_TRUE(test::Snapshot(r) == before);
  r.newGame();
  EXPECT_FALSE(r.canUndo());
  ASSERT_TRUE(test::Play(r, "h2e2"));
  EXPECT_TRUE(r.undoMove(out));
}

}  // namespace
}  // namespace rq
