#include <gtest/gtest.h>

#include "support/record_helpers.h"

namespace rq {
namespace {

TEST(History, UndoAndRedoWalkTheRecordedMoves) {
  GameRecord r;
  const test::Snapshot start(r);
  EXPECT_FALSE(r.canUndo() || r.canRedo());
  ASSERT_TRUE(test::Play(r, "b2b9"));  // cannon takes horse
  EXPECT_EQ(r.history[0].pieceSquare[Green][8], 0x80 | 1);  // the snapshot holds the lists after it
  ASSERT_TRUE(test::Play(r, "a9b9"));  // chariot takes cannon back
  const test::Snapshot afterTwo(r);

  Move m;
  ASSERT_TRUE(r.undoMove(m));
  EXPECT_EQ(FormatMove(m), "a9b9");
  EXPECT_EQ(m.captured, 0x4A);
  ASSERT_TRUE(r.undoMove(m));
  EXPECT_EQ(FormatMove(m), "b2b9");
  EXPECT_FALSE(r.undoMove(m));
  test::Snapshot undone(r);
  EXPECT_EQ(undone.recordedMoves, 2);
  undone.recordedMoves = 0;
  EXPECT_TRUE(undone == start);  // the horse back on its square, its mark cleared

  ASSERT_TRUE(r.redoMove(m) && r.redoMove(m));
  EXPECT_FALSE(r.redoMove(m));
  EXPECT_TRUE(test::Snapshot(r) == afterTwo);

  // A new move after an undo discards what could have been redone.
  ASSERT_TRUE(r.undoMove(m) && r.undoMove(m));
  ASSERT_TRUE(test::Play(r, "h2e2"));
  EXPECT_EQ(r.recordedMoves, 1);
  EXPECT_FALSE(r.canRedo());
}

}  // namespace
}  // namespace rq
