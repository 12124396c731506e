// Judging generated moves: facing generals, and the three outcomes of a repetition.
#include <cstring>

#include "rules/game_record.h"

namespace rq {

// The snapshot of the position `plies` (1..RecentCapacity) before the current one,
// or null when the game's record does not reach that far back.
const HistoryEntry* GameRecord::snapshotBefore(int plies) const {
  if (plies <= recentMoves) return &recent[(recentMoves - plies) % RecentCapacity];
  if (historyDetached) return nullptr;
  const int index = moveCount - (plies - recentMoves);
  return index >= 0 ? &history[index] : nullptr;
}

// Whether every piece stands where it stood in the snapshot.
bool GameRecord::placementMatches(const HistoryEntry& e) const {
  return std::memcmp(&e.pieceSquare[Red][1], &pieceSquare[Red][1], PiecesPerSide) == 0 &&
         std::memcmp(&e.pieceSquare[Green][1], &pieceSquare[Green][1], PiecesPerSide) == 0;
}

// Whether the current placement stood 4, 8, 12 and 16 plies ago.
bool GameRecord::isRepetition() const {
  for (int back = 4; back <= RepetitionWindow; back += 4) {
    const HistoryEntry* snapshot = snapshotBefore(back);
    if (snapshot == nullptr || !placementMatches(*snapshot)) return false;
  }
  return true;
}

// Whether the capture number `captureIndex` of slot 100 threatens nothing that counts as
// chased: the target stands on its own half, or the other side could take back on it.
bool GameRecord::isProtectedOrExempt(int target, int side, int captureIndex) {
  if ((side == Red && target <= GreenHalfEnd) || (side == Green && target >= RedHalfStart)) return true;
  Move capture = moveSlots[SlotCheck].cells[captureIndex];
  makeMove(side, capture);
  const int other = 1 - side;
  bool isProtected = false;
  for (int index = 1; index <= PiecesPerSide && !isProtected; ++index) {
    if (!onBoard(other, index)) continue;
    generateCaptures(other, index, SlotProtection);
    const MoveSlot& slot = moveSlots[SlotProtection];
    for (int i = 0; i < slot.count(); ++i)
      if (slot.cells[i].to == target) { isProtected = true; break; }
  }
  unmakeMove(side, capture);
  return isProtected;
}

// True when the move may be played; otherwise `reason` says why (3 also sets `detail`).
bool GameRecord::validateMove(Move& move, int32_t& reason, int32_t& detail) {
  reason = ReasonNone;
  const int side = sideOfCode(position.squares[move.from]);
  makeMove(side, move);
  auto refuse = [&](int32_t why) {
    reason = why;
    unmakeMove(side, move);
    return false;
  };
  if (generalsFacing()) return refuse(ReasonFacingGenerals);
  if (!isRepetition()) {
    unmakeMove(side, move);
    return true;
  }
  if (side == Green ? isRedGeneralAttacked() : isGreenGeneralAttacked()) return refuse(ReasonPerpetualCheck);
  if (chasesPiece(side, detail)) return refuse(ReasonPerpetualChase);
  return refuse(ReasonRepetition);
}

// Whether `side` could take a piece that counts as chased; `target` gets that piece's code.
bool GameRecord::chasesPiece(int side, int32_t& target) {
  for (int index = 1; index <= PiecesPerSide; ++index) {
    if (!onBoard(side, index)) continue;
    generateCaptures(side, index, SlotCheck);
    const int count = moveSlots[SlotCheck].count();
    for (int i = 0; i < count; ++i) {
      const int square = moveSlots[SlotCheck].cells[i].to;
      if (!isProtectedOrExempt(square, side, i)) {
        target = position.squares[square];
        return true;
      }
    }
  }
  return false;
}

// Whether `side` has a move that is legal or that would end the game drawn.
bool GameRecord::hasPermittedMove(int side) {
  return forEachMove(side, [this](const Move& m) { return permitsMove(m); });
}

}  // namespace rq
