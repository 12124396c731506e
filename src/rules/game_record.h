// The rules engine's whole state for the game in progress, and the operations on it.
#pragma once

#include <atomic>
#include <cstdint>
#include <random>

#include "rules/types.h"
#include "rules/zobrist.h"

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
  // Key of the piece placement (not of the side to move): kept by make and unmake,
  // derived afresh by rebuildPieceLists.
  uint64_t hashKey = 0;
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
  uint64_t computeHashKey() const { return placementKey(pieceSquare); }
  // The key of the placement that piece lists (the record's or a history snapshot's) describe.
  uint64_t placementKey(const uint8_t (&lists)[2][PieceListSize]) const;
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
  bool makeMove(int side, Move& move) { return applyMove<true>(side, move); }
  void unmakeMove(int side, const Move& move) { takeBackMove<true>(side, move); }
  // The same for a trial that is taken back before anything reads the placement key, which
  // such a pair leaves alone.
  template <bool KeepKey> bool applyMove(int side, Move& move);
  template <bool KeepKey> void takeBackMove(int side, const Move& move);
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
  int32_t repetitionReason(int side, int32_t& detail);
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
template <bool KeepKey>
inline bool GameRecord::applyMove(int side, Move& move) {
  // Squares in locals: the byte stores below could alias the move and the key.
  const int from = move.from, to = move.to;
  uint8_t* sq = position.squares;
  const uint8_t piece = sq[from];
  const int index = piece & IndexMask;
  const int moverType = pieceType[side][index - 1];
  const int32_t* table = pieceSquareTable[moverType];
  position.boardExtraValue += table[to] - table[from];
  const uint64_t key = hashKey ^ Zobrist.piece[moverType][from] ^ Zobrist.piece[moverType][to];
  const uint8_t captured = sq[to];
  move.captured = captured;
  sq[to] = piece;
  sq[from] = 0;
  pieceSquare[side][index] = static_cast<uint8_t>(to);
  if (captured == 0) {
    if (KeepKey) hashKey = key;
    return false;
  }
  const int capturedSide = sideOfCode(captured);
  const int capturedIndex = captured & IndexMask;
  const int type = pieceType[capturedSide][capturedIndex - 1];
  pieceSquare[capturedSide][capturedIndex] |= CapturedMark;
  position.boardValue += capturedSide == Green ? -materialValue[type & 7] : materialValue[type & 7];
  position.boardExtraValue -= pieceSquareTable[type][to];
  if (KeepKey) hashKey = key ^ Zobrist.piece[type][to];
  return capturedIndex == GeneralIndex;
}

// Both generals on one column with nothing between them. In the header: every judged move asks.
inline bool GameRecord::generalsFacing() const {
  const int green = pieceSquare[Green][GeneralIndex];
  const int red = pieceSquare[Red][GeneralIndex];
  // A taken general's entry has bit 0x80 set, so the difference is then no multiple of 9 in range.
  if (((green | red) & CapturedMark) != 0 || (red - green) % BoardColumns != 0) return false;
  for (int s = green + BoardColumns; s < red; s += BoardColumns)
    if (position.squares[s] != 0) return false;
  return true;
}

// Exact inverse of makeMove with the same side.
template <bool KeepKey>
inline void GameRecord::takeBackMove(int side, const Move& move) {
  const int from = move.from, to = move.to;
  const uint8_t captured = move.captured;
  uint8_t* sq = position.squares;
  const uint8_t piece = sq[to];
  const int index = piece & IndexMask;
  const int moverType = pieceType[side][index - 1];
  const int32_t* table = pieceSquareTable[moverType];
  position.boardExtraValue += table[from] - table[to];
  const uint64_t key = hashKey ^ Zobrist.piece[moverType][from] ^ Zobrist.piece[moverType][to];
  sq[from] = piece;
  sq[to] = captured;
  pieceSquare[side][index] = static_cast<uint8_t>(from);
  if (captured == 0) {
    if (KeepKey) hashKey = key;
    return;
  }
  const int capturedSide = sideOfCode(captured);
  const int capturedIndex = captured & IndexMask;
  const int type = pieceType[capturedSide][capturedIndex - 1];
  pieceSquare[capturedSide][capturedIndex] &= static_cast<uint8_t>(~CapturedMark);
  position.boardValue += capturedSide == Green ? materialValue[type & 7] : -materialValue[type & 7];
  position.boardExtraValue += pieceSquareTable[type][to];
  if (KeepKey) hashKey = key ^ Zobrist.piece[type][to];
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
