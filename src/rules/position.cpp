// Making and taking back moves with both running sums, and the attack tests.
#include "rules/game_record.h"

namespace rq {

namespace {

// Whether any piece of `attacker` on the board has a generated capture onto `target`.
bool capturesOnto(GameRecord& r, int attacker, int target) {
  for (int index = 1; index <= PiecesPerSide; ++index) {
    if (!r.onBoard(attacker, index)) continue;
    r.generateCaptures(attacker, index, SlotCheck);
    const MoveSlot& slot = r.moveSlots[SlotCheck];
    for (int i = 0; i < slot.count(); ++i)
      if (slot.cells[i].to == target) return true;
  }
  return false;
}

}  // namespace

// Whether a green piece could take the red general now.
bool GameRecord::isRedGeneralAttacked() {
  uint8_t general = pieceSquare[Red][GeneralIndex];
  return !isCaptured(general) && capturesOnto(*this, Green, general);
}

// Whether a red piece could take the green general now.
bool GameRecord::isGreenGeneralAttacked() {
  uint8_t general = pieceSquare[Green][GeneralIndex];
  return !isCaptured(general) && capturesOnto(*this, Red, general);
}

// Both generals on one column with nothing between them.
bool GameRecord::generalsFacing() const {
  const uint8_t green = pieceSquare[Green][GeneralIndex];
  const uint8_t red = pieceSquare[Red][GeneralIndex];
  if (isCaptured(green) || isCaptured(red) || columnOf(green) != columnOf(red)) return false;
  for (int s = green + 9; s < red; s += 9)
    if (position.squares[s] != 0) return false;
  return true;
}

namespace {

constexpr uint8_t kindTableEntry(int code) {
  return (code & (RedBit | GreenBit)) && (code & IndexMask) >= 1 && (code & IndexMask) <= 16
             ? static_cast<uint8_t>(kindOfIndex(code & IndexMask))
             : 0;
}

struct KindTable {
  uint8_t kind[256];
  constexpr KindTable() : kind() {
    for (int c = 0; c < 256; ++c) kind[c] = kindTableEntry(c);
  }
};
constexpr KindTable Kinds;

}  // namespace

// Looks outward from `square` for a soldier, horse, chariot or cannon of `attacker`
// that could take there. Answers as the capture generators would for every position
// in which advisors, elephants and generals stand on points they can reach, since
// those pieces never leave their own half or palace.
bool GameRecord::isSquareAttacked(int square, int attacker) const {
  const uint8_t* sq = position.squares;
  const uint8_t bit = colourBit(attacker);
  auto is = [&](int s, int kind) { return (sq[s] & bit) && Kinds.kind[sq[s]] == kind; };
  const int column = columnOf(square);

  // Rays: the first piece may be a chariot, the one behind it a cannon.
  auto ray = [&](int step, int steps) {
    int s = square, i = 0;
    for (; i < steps; ++i) {
      s += step;
      if (sq[s] != 0) break;
    }
    if (i == steps) return false;
    if (is(s, Chariot)) return true;
    for (++i; i < steps; ++i) {
      s += step;
      if (sq[s] != 0) return is(s, Cannon);
    }
    return false;
  };
  if (ray(-9, rowOf(square)) || ray(9, BoardRows - 1 - rowOf(square)) || ray(-1, column) ||
      ray(1, 8 - column))
    return true;

  // Horses: destination offset, leg offset from the horse, and the horse's column range.
  struct HorseJump { int offset, leg, minColumn, maxColumn; };
  static constexpr HorseJump jumps[8] = {
      {19, 9, 0, 7}, {17, 9, 1, 8}, {-17, -9, 0, 7}, {-19, -9, 1, 8},
      {-11, -1, 2, 8}, {7, -1, 2, 8}, {-7, 1, 0, 6}, {11, 1, 0, 6}};
  for (const HorseJump& j : jumps) {
    int h = square - j.offset;
    if (h < 0 || h >= BoardSquares) continue;
    int hc = columnOf(h);
    if (hc < j.minColumn || hc > j.maxColumn) continue;
    if (is(h, Horse) && sq[h + j.leg] == 0) return true;
  }

  // Soldiers: forward from behind, or sideways once across the river.
  if (attacker == Red) {
    if (square + 9 < BoardSquares && is(square + 9, Soldier)) return true;
    if (column != 8 && square + 1 <= GreenHalfEnd && is(square + 1, Soldier)) return true;
    if (column != 0 && square - 1 >= 0 && square - 1 <= GreenHalfEnd && is(square - 1, Soldier)) return true;
  } else {
    if (square - 9 >= 0 && is(square - 9, Soldier)) return true;
    if (column != 8 && square + 1 >= RedHalfStart && is(square + 1, Soldier)) return true;
    if (column != 0 && square - 1 >= RedHalfStart && is(square - 1, Soldier)) return true;
  }
  return false;
}

// Fast form of the general-attacked tests, for counting and tools.
bool GameRecord::isGeneralAttackedFast(int side) const {
  uint8_t general = pieceSquare[side][GeneralIndex];
  return !isCaptured(general) && isSquareAttacked(general, 1 - side);
}

}  // namespace rq
