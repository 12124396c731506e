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


  // Horses: every leg is a diagonal neighbour of the square, and an empty one serves two
  // horse points, one further along each of its two directions.
  const int row = rowOf(square);
  const uint8_t horse = bit | FirstHorse;  // horses 8 and 9 differ in the lowest bit only
  for (int dr = -1; dr <= 1; dr += 2) {
    const int legRow = row + dr;
    if (legRow < 0 || legRow >= BoardRows) continue;
    for (int dc = -1; dc <= 1; dc += 2) {
      const int legColumn = column + dc;
      if (legColumn < 0 || legColumn >= BoardColumns || sq[squareOf(legColumn, legRow)] != 0) continue;
      if (legRow + dr >= 0 && legRow + dr < BoardRows && (sq[squareOf(legColumn, legRow + dr)] & ~1) == horse) return true;
      if (legColumn + dc >= 0 && legColumn + dc < BoardColumns && (sq[squareOf(legColumn + dc, legRow)] & ~1) == horse)
        return true;
    }
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
