// The rules engine's whole state for the game in progress, and the operations on it.
#pragma once

#include <atomic>
#include <cstdint>
#include <random>

#include "rules/types.h"

namespace rq {

class SearchClock;
class SearchDeadline;
struct RootMoveRules;

// Reasons a generated move may not be played.
enum MoveReason : int32_t {
  ReasonNone = 0,
  ReasonFacingGenerals = 1,
  ReasonPerpetualCheck = 2,
  ReasonPerpetualChase = 3,
  ReasonRepetition = 4,
};

struct GameRecord {
  // --- evaluation and search data ---
  int32_t materialValue[8];                 // by piece kind 1..7
  Move plyMoves[MaxSearchPly];
  int32_t pieceOrder[PiecesPerSide];
  const int32_t* pieceSquareTable[16];      // by PieceType code
  SearchClock* searchClock = nullptr;
  SearchDeadline* searchDeadline = nullptr;  // the running search's time limits, set by its deepening
  const RootMoveRules* rootRules = nullptr;  // a protocol's wishes for the first ply, set around its search
  std::atomic<int32_t> depthLimit{6};       // read by the drawing thread while the worker changes it
  int32_t fullCheckDepth = 4;
  std::minstd_rand random;                  // drives the piece-order shuffle
  uint64_t searchNodes = 0;                 // moves the search has made, for its statistics

  // --- the game ---
  BoardPosition position;
  uint8_t pieceSquare[2][PieceListSize];
  uint8_t pieceType[2][PiecesPerSide];
  MoveSlot moveSlots[MoveSlotCount];
  int32_t moveCount = 0;
  int32_t recordedMoves = 0;
  int32_t endPly = NoEndPly;
  // A move was made that the full history could not take: the board and the
  // history part ways, so undo and redo are refused until a new game.
  bool historyOverflowed = false;
  HistoryEntry history[HistoryCapacity];
  // Moves made past the full history keep their snapshots here, the newest at
  // (recentMoves - 1) % RecentCapacity, so that repetitions are still judged.
  HistoryEntry recent[RecentCapacity];
  int32_t recentMoves = 0;
  // The history does not lead up to the board (a game loaded past its full history):
  // only `recent` describes the positions played.
  bool historyDetached = false;
  // Where the history begins: the opening, or a position set up or read from FEN. Undo
  // never goes back past it.
  uint8_t startSquares[BoardSquares];
  int32_t startSide = Red;  // the side that moves first from startSquares

  GameRecord();
  GameRecord(const GameRecord&) = delete;
  GameRecord& operator=(const GameRecord&) = delete;

  // Set-up (game_record.cpp).
  void newGame();
  void rebuildPieceLists();
  void seedRandom(uint32_t seed);
  void shufflePieceOrder();
  // Takes over another record's game (position, piece lists, history so far) to search
  // on it; the redo moves, the random draws and the search data stay this record's own.
  void copyGameFrom(const GameRecord& other);
  // Whether the history begins at the opening with red to move.
  bool startsAtOpening() const;

  // Move generation (movegen.cpp): replaces the slot's contents.
  void generateCaptures(int side, int pieceIndex, MoveSlot& slot);
  void generateQuietMoves(int side, int pieceIndex, MoveSlot& slot);
  void generateCaptures(int side, int pieceIndex, int slot) { generateCaptures(side, pieceIndex, moveSlots[slot]); }
  void generateQuietMoves(int side, int pieceIndex, int slot) { generateQuietMoves(side, pieceIndex, moveSlots[slot]); }
  bool pieceCanMove(int side, int from, int to);

  // Visits the generated moves of a side in the rules' order: the pieces by index 1..16,
  // each piece's captures before its quiet moves, each family as generated. The moves are
  // generated into a slot of the call's own, so `visit` may judge, make and unmake moves and
  // visit again, as long as it leaves the board as it found it. `visit` gets a copy of each
  // move and returns true to stop; the answer says whether it stopped.
  template <typename Visit>
  bool forEachMove(int side, Visit&& visit);
  // The same for the one piece `pieceIndex` of `side`, which must be on the board.
  template <typename Visit>
  bool forEachMoveOfPiece(int side, int pieceIndex, Visit&& visit);

  // Making moves and attack tests (position.cpp).
  bool makeMove(int side, Move& move);
  void unmakeMove(int side, const Move& move);
  bool isRedGeneralAttacked();
  bool isGreenGeneralAttacked();
  bool generalsFacing() const;
  bool isSquareAttacked(int square, int attacker) const;
  bool isGeneralAttackedFast(int side) const;

  // Judgement (validation.cpp).
  const HistoryEntry* snapshotBefore(int plies) const;
  bool placementMatches(const HistoryEntry& snapshot) const;
  bool isRepetition() const;
  bool isProtectedOrExempt(int target, int side, int captureIndex);
  bool chasesPiece(int side, int32_t& target);
  bool validateMove(Move& move, int32_t& reason, int32_t& detail);
  // Whether a generated move may be played: legal, or ending the game drawn (reason 4).
  bool permitsMove(Move move, int32_t& reason);
  bool permitsMove(const Move& move) {
    int32_t reason = ReasonNone;
    return permitsMove(move, reason);
  }
  // Whether `side` has a move that may be played; without one it has lost.
  bool hasPermittedMove(int side);
  bool redHasMove() { return hasPermittedMove(Red); }

  // History (history.cpp).
  bool recordMove(const Move& move);
  bool dropLastRecord();
  bool canUndo() const;
  bool canRedo() const;
  bool undoMove(Move& move);
  bool redoMove(Move& move);
  // Forgets the moves that redo could bring back: the game ends where it stands.
  void forgetRedoMoves() { recordedMoves = moveCount; }

  // Static score for `side`: the two running sums, seen from that side.
  int32_t staticScore(int side) const {
    int32_t greenView = position.boardValue + position.boardExtraValue;
    return side == Green ? greenView : -greenView;
  }
  int32_t pieceTypeOf(int side, int index) const { return pieceType[side][index - 1]; }
  bool onBoard(int side, int index) const { return !isCaptured(pieceSquare[side][index]); }
  bool anyGeneralTaken() const {
    return isCaptured(pieceSquare[Red][GeneralIndex]) || isCaptured(pieceSquare[Green][GeneralIndex]);
  }

 private:
  template <typename Visit>
  bool visitPieceMoves(int side, int pieceIndex, MoveSlot& slot, Visit& visit);
};

template <typename Visit>
bool GameRecord::visitPieceMoves(int side, int pieceIndex, MoveSlot& slot, Visit& visit) {
  for (int family = 0; family < 2; ++family) {
    if (family == 0) generateCaptures(side, pieceIndex, slot);
    else generateQuietMoves(side, pieceIndex, slot);
    const int count = slot.count();
    for (int i = 0; i < count; ++i) {
      Move move = slot.cells[i];
      if (visit(move)) return true;
    }
  }
  return false;
}

template <typename Visit>
bool GameRecord::forEachMove(int side, Visit&& visit) {
  MoveSlot slot;
  for (int index = 1; index <= PiecesPerSide; ++index)
    if (onBoard(side, index) && visitPieceMoves(side, index, slot, visit)) return true;
  return false;
}

template <typename Visit>
bool GameRecord::forEachMoveOfPiece(int side, int pieceIndex, Visit&& visit) {
  MoveSlot slot;
  return visitPieceMoves(side, pieceIndex, slot, visit);
}

// Make and unmake sit in the header: the search spends most of its time in them.

// Applies a generated move for `side`; true when the piece taken was a general.
inline bool GameRecord::makeMove(int side, Move& move) {
  uint8_t* sq = position.squares;
  const uint8_t piece = sq[move.from];
  const int index = piece & IndexMask;
  const int32_t* table = pieceSquareTable[pieceType[side][index - 1]];
  position.boardExtraValue += table[move.to] - table[move.from];
  const uint8_t captured = sq[move.to];
  move.captured = captured;
  sq[move.to] = piece;
  sq[move.from] = 0;
  pieceSquare[side][index] = move.to;
  if (captured == 0) return false;
  const int capturedSide = sideOfCode(captured);
  const int capturedIndex = captured & IndexMask;
  const int type = pieceType[capturedSide][capturedIndex - 1];
  pieceSquare[capturedSide][capturedIndex] |= CapturedMark;
  position.boardValue += capturedSide == Green ? -materialValue[type & 7] : materialValue[type & 7];
  position.boardExtraValue -= pieceSquareTable[type][move.to];
  return capturedIndex == GeneralIndex;
}

// Exact inverse of makeMove with the same side.
inline void GameRecord::unmakeMove(int side, const Move& move) {
  uint8_t* sq = position.squares;
  const uint8_t piece = sq[move.to];
  const int index = piece & IndexMask;
  const int32_t* table = pieceSquareTable[pieceType[side][index - 1]];
  position.boardExtraValue += table[move.from] - table[move.to];
  sq[move.from] = piece;
  sq[move.to] = move.captured;
  pieceSquare[side][index] = move.from;
  if (move.captured == 0) return;
  const int capturedSide = sideOfCode(move.captured);
  const int capturedIndex = move.captured & IndexMask;
  const int type = pieceType[capturedSide][capturedIndex - 1];
  pieceSquare[capturedSide][capturedIndex] &= static_cast<uint8_t>(~CapturedMark);
  position.boardValue += capturedSide == Green ? materialValue[type & 7] : -materialValue[type & 7];
  position.boardExtraValue += pieceSquareTable[type][move.to];
}

// Judges a copy of the move; `reason` is validation's either way. Inline, as perft asks it
// of every move.
inline bool GameRecord::permitsMove(Move move, int32_t& reason) {
  int32_t detail = 0;
  return validateMove(move, reason, detail) || reason == ReasonRepetition;
}

// The start position, square by square.
extern const uint8_t StartSquares[BoardSquares];

}  // namespace rq
