#include "tools/wxf.h"

#include <cstdlib>

namespace rq {
namespace {

constexpr char KindLetter[8] = {'?', 'P', 'R', 'H', 'C', 'A', 'E', 'K'};

// Files count from each player's own right-hand side.
int FileOf(int side, int column) { return side == Red ? BoardColumns - column : column + 1; }

// Rows toward the other side: red advances to row 0, green to row 9.
int Advance(int side, int fromRow, int toRow) { return side == Red ? fromRow - toRow : toRow - fromRow; }

// Rows of the side's pieces of `kind` on `column`, front (most advanced) first.
int PiecesOnFile(const BoardPosition& board, int side, int kind, int column, int rows[BoardRows]) {
  int n = 0;
  for (int k = 0; k < BoardRows; ++k) {
    const int row = side == Red ? k : BoardRows - 1 - k;
    const uint8_t code = board.squares[squareOf(column, row)];
    if (code != 0 && sideOfCode(code) == side && kindOfIndex(code & IndexMask) == kind) rows[n++] = row;
  }
  return n;
}

}  // namespace

std::string FormatWxfMove(const BoardPosition& board, int from, int to) {
  const uint8_t code = board.squares[from];
  if (code == 0 || from >= BoardSquares || to >= BoardSquares) return "?";
  const int side = sideOfCode(code);
  const int kind = kindOfIndex(code & IndexMask);
  const int advance = Advance(side, rowOf(from), rowOf(to));
  const char direction = advance > 0 ? '+' : advance < 0 ? '-' : '=';
  const bool diagonal = kind == Horse || kind == Advisor || kind == Elephant;
  const int number = (diagonal || advance == 0) ? FileOf(side, columnOf(to)) : std::abs(advance);

  std::string piece{KindLetter[kind], static_cast<char>('0' + FileOf(side, columnOf(from)))};
  if (kind != Advisor && kind != Elephant && kind != General) {
    int rows[BoardRows];
    const int n = PiecesOnFile(board, side, kind, columnOf(from), rows);
    int place = 0;
    while (place < n && rows[place] != rowOf(from)) ++place;
    if (n >= 2) {
      const char marker = n == 2 ? (place == 0 ? '+' : '-') : static_cast<char>('1' + place);
      piece = {marker, KindLetter[kind]};
      if (kind == Soldier) {
        // With several soldiers on another file too, the marker alone would not say which.
        for (int column = 0; column < BoardColumns; ++column) {
          if (column == columnOf(from)) continue;
          int other[BoardRows];
          if (PiecesOnFile(board, side, Soldier, column, other) >= 2)
            piece = {marker, static_cast<char>('0' + FileOf(side, columnOf(from)))};
        }
      }
    }
  }
  return piece + direction + static_cast<char>('0' + number);
}

bool ParseWxfMove(GameRecord& record, int side, const std::string& text, int& from, int& to) {
  std::string wanted = text;
  for (char& c : wanted) {
    if (c == 'N' || c == 'n') c = 'H';
    else if (c == 'B' || c == 'b') c = 'E';
    else if (c == '.') c = '=';
    else if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  int found = 0;
  for (int index = 1; index <= PiecesPerSide; ++index) {
    if (!record.onBoard(side, index)) continue;
    for (int family = 0; family < 2; ++family) {
      if (family == 0) record.generateCaptures(side, index, 0);
      else record.generateQuietMoves(side, index, 0);
      const MoveSlot& slot = record.moveSlots[0];
      for (int i = 0; i < slot.count(); ++i) {
        const Move& m = slot.cells[i];
        if (FormatWxfMove(record.position, m.from, m.to) != wanted) continue;
        from = m.from;
        to = m.to;
        ++found;
      }
    }
  }
  return found == 1;
}

}  // namespace rq
