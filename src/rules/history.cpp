// The move history: recording played moves, undo and redo.
#include <cstring>

#include "rules/game_record.h"

namespace rq {

namespace {

void writeEntry(HistoryEntry& e, const Move& move, const uint8_t (&pieceSquare)[2][PieceListSize]) {
  e.from = move.from;
  e.to = move.to;
  e.captured = move.captured;
  std::memcpy(&e.pieceSquare[Red][1], &pieceSquare[Red][1], PiecesPerSide);
  std::memcpy(&e.pieceSquare[Green][1], &pieceSquare[Green][1], PiecesPerSide);
}

}  // namespace

// Appends a move that has just been made; false once the history is full, when only
// the repetition window past it keeps the move.
bool GameRecord::recordMove(const Move& move) {
  if (moveCount >= HistoryCapacity) {
    writeEntry(recent[recentMoves % RecentCapacity], move, pieceSquare);
    ++recentMoves;
    historyOverflowed = true;
    return false;
  }
  writeEntry(history[moveCount], move, pieceSquare);
  ++moveCount;
  recordedMoves = moveCount;
  return true;
}

// Forgets the last recorded move without touching the board (the search's trial moves).
bool GameRecord::dropLastRecord() {
  if (recentMoves > 0) {
    // A trial move that overflowed a history that still matched the board gives undo back.
    if (--recentMoves == 0 && !historyDetached) historyOverflowed = false;
    return true;
  }
  if (moveCount <= 0) return false;
  --moveCount;
  --recordedMoves;
  return true;
}

bool GameRecord::canUndo() const { return moveCount > 0 && !historyOverflowed; }

bool GameRecord::canRedo() const { return recordedMoves > moveCount && !historyOverflowed; }

// Takes back the move before moveCount and reports it.
bool GameRecord::undoMove(Move& move) {
  if (!canUndo()) return false;
  const HistoryEntry& e = history[moveCount - 1];
  const uint8_t piece = position.squares[e.to];
  // A board that does not hold the recorded move is never "repaired" by guessing.
  if (piece == 0 || position.squares[e.from] != 0) return false;
  --moveCount;
  move.from = e.from;
  move.to = e.to;
  move.captured = e.captured;
  unmakeMove(sideOfCode(piece), move);
  return true;
}

// Replays the move at moveCount and reports it.
bool GameRecord::redoMove(Move& move) {
  if (!canRedo()) return false;
  const HistoryEntry& e = history[moveCount];
  const uint8_t piece = position.squares[e.from];
  if (piece == 0) return false;
  move.from = e.from;
  move.to = e.to;
  move.captured = e.captured;
  ++moveCount;
  makeMove(sideOfCode(piece), move);
  return true;
}

}  // namespace rq
