// Move generation, piece by piece, in two families: captures and quiet moves.
// The order in which each rule writes its moves is part of the game's behaviour:
// the search tries moves in slot order.
#include "rules/game_record.h"

namespace rq {
namespace {

// Writes the destinations that pass the family's test into one slot.
template <bool Captures>
struct Emitter {
  Move* cells;
  const uint8_t* squares;
  uint8_t enemyBit;
  int from;
  int count = 0;

  void tryTo(int to) {
    uint8_t code = squares[to];
    if (Captures ? (code & enemyBit) != 0 : code == 0) {
      Move& m = cells[count++];
      m.from = static_cast<uint8_t>(from);
      m.to = static_cast<uint8_t>(to);
      m.captured = 0;
    }
  }
};

template <bool Captures, int Side>
void soldierMoves(Emitter<Captures>& e) {
  const int s = e.from;
  const int column = columnOf(s);
  if (Side == Red) {
    if (s >= RedHalfStart) { e.tryTo(s - 9); return; }
    if (s >= 9) e.tryTo(s - 9);
  } else {
    if (s <= GreenHalfEnd) { e.tryTo(s + 9); return; }
    if (s <= 80) e.tryTo(s + 9);
  }
  if (column != 0) e.tryTo(s - 1);
  if (column != 8) e.tryTo(s + 1);
}

// Chariots and cannons share the rays and the quiet moves; they differ in captures.
template <bool Captures, bool Cannon>
void rayMoves(Emitter<Captures>& e) {
  const int s = e.from;
  const int column = columnOf(s);
  const uint8_t* sq = e.squares;
  auto ray = [&](int step, int steps) {
    int to = s;
    for (int i = 0; i < steps; ++i) {
      to += step;
      if (sq[to] == 0) {
        if (!Captures) e.tryTo(to);
        continue;
      }
      if (Captures) {
        if (!Cannon) {
          e.tryTo(to);
        } else {
          for (++i; i < steps; ++i) {
            to += step;
            if (sq[to] != 0) { e.tryTo(to); break; }
          }
        }
      }
      return;
    }
  };
  ray(-9, rowOf(s));
  ray(9, BoardRows - 1 - rowOf(s));
  ray(-1, column);
  ray(1, 8 - column);
}

template <bool Captures>
void horseMoves(Emitter<Captures>& e) {
  const int s = e.from;
  const int column = columnOf(s);
  const uint8_t* sq = e.squares;
  auto onBoard = [](int to) { return to >= 0 && to < BoardSquares; };
  if (s + 9 <= 89 && sq[s + 9] == 0) {
    if (column <= 7 && onBoard(s + 19)) e.tryTo(s + 19);
    if (column >= 1 && onBoard(s + 17)) e.tryTo(s + 17);
  }
  if (s - 9 >= 0 && sq[s - 9] == 0) {
    if (column <= 7 && onBoard(s - 17)) e.tryTo(s - 17);
    if (column >= 1 && onBoard(s - 19)) e.tryTo(s - 19);
  }
  if (column >= 1 && sq[s - 1] == 0 && column >= 2) {
    if (onBoard(s - 11)) e.tryTo(s - 11);
    if (onBoard(s + 7)) e.tryTo(s + 7);
  }
  if (column <= 7 && sq[s + 1] == 0 && column <= 6) {
    if (onBoard(s - 7)) e.tryTo(s - 7);
    if (onBoard(s + 11)) e.tryTo(s + 11);
  }
}

template <bool Captures, int Side>
void advisorMoves(Emitter<Captures>& e) {
  const int centre = Side == Red ? 76 : 13;
  if (e.from == centre) {
    e.tryTo(centre - 10);
    e.tryTo(centre - 8);
    e.tryTo(centre + 8);
    e.tryTo(centre + 10);
  } else {
    e.tryTo(centre);
  }
}

template <bool Captures, int Side>
void elephantMoves(Emitter<Captures>& e) {
  struct Step { int move, eye, barred[3]; };
  static constexpr Step redSteps[4] = {
      {-20, -10, {63, 47, 51}}, {-16, -8, {71, 47, 51}}, {16, 8, {63, 83, 87}}, {20, 10, {71, 87, 83}}};
  static constexpr Step greenSteps[4] = {
      {16, 8, {18, 38, 42}}, {20, 10, {26, 38, 42}}, {-20, -10, {18, 2, 6}}, {-16, -8, {26, 2, 6}}};
  const Step* steps = Side == Red ? redSteps : greenSteps;
  const int s = e.from;
  for (int i = 0; i < 4; ++i) {
    const Step& st = steps[i];
    if (s == st.barred[0] || s == st.barred[1] || s == st.barred[2]) continue;
    int to = s + st.move;
    // Only a piece off the elephant's points could step off the board here.
    if (to < 0 || to >= BoardSquares) continue;
    if (e.squares[s + st.eye] == 0) e.tryTo(to);
  }
}

template <bool Captures, int Side>
void generalMoves(Emitter<Captures>& e) {
  const int s = e.from;
  auto onBoard = [](int to) { return to >= 0 && to < BoardSquares; };
  if (Side == Red) {
    if (s > 68) e.tryTo(s - 9);
    if (s < 84 && onBoard(s + 9)) e.tryTo(s + 9);
    if (s != 68 && s != 77 && s != 86 && onBoard(s + 1)) e.tryTo(s + 1);
    if (s != 66 && s != 75 && s != 84 && onBoard(s - 1)) e.tryTo(s - 1);
  } else {
    if (s > 5 && onBoard(s - 9)) e.tryTo(s - 9);
    if (s < 21) e.tryTo(s + 9);
    if (s != 5 && s != 14 && s != 23 && onBoard(s + 1)) e.tryTo(s + 1);
    if (s != 3 && s != 12 && s != 21 && onBoard(s - 1)) e.tryTo(s - 1);
  }
}

template <bool Captures, int Side>
int generate(const GameRecord& r, int pieceIndex, Move* cells) {
  Emitter<Captures> e{cells, r.position.squares, colourBit(1 - Side), r.pieceSquare[Side][pieceIndex]};
  switch (kindOfIndex(pieceIndex)) {
    case Soldier: soldierMoves<Captures, Side>(e); break;
    case Chariot: rayMoves<Captures, false>(e); break;
    case Horse: horseMoves<Captures>(e); break;
    case Cannon: rayMoves<Captures, true>(e); break;
    case Advisor: advisorMoves<Captures, Side>(e); break;
    case Elephant: elephantMoves<Captures, Side>(e); break;
    default: generalMoves<Captures, Side>(e); break;
  }
  return e.count;
}

}  // namespace

// Moves of one piece onto squares held by the other colour.
void GameRecord::generateCaptures(int side, int pieceIndex, MoveSlot& s) {
  s.setCount(side == Red ? generate<true, Red>(*this, pieceIndex, s.cells)
                         : generate<true, Green>(*this, pieceIndex, s.cells));
}

// Moves of one piece onto empty squares.
void GameRecord::generateQuietMoves(int side, int pieceIndex, MoveSlot& s) {
  s.setCount(side == Red ? generate<false, Red>(*this, pieceIndex, s.cells)
                         : generate<false, Green>(*this, pieceIndex, s.cells));
}

// Whether the piece on `from` belongs to `side` and generates the move to `to`.
bool GameRecord::pieceCanMove(int side, int from, int to) {
  if (from < 0 || from >= BoardSquares || to < 0 || to >= BoardSquares) return false;
  const uint8_t code = position.squares[from];
  if (code == 0 || sideOfCode(code) != side) return false;
  return forEachMoveOfPiece(side, code & IndexMask, [to](const Move& m) { return m.to == to; });
}

}  // namespace rq
