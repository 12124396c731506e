#include "rules/wxf.h"

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

// The WXF text with a canonical spelling: "N", "B", lower case and "." read as WXF writes them.
std::string CanonicalWxf(const std::string& text) {
  std::string wanted = text;
  for (char& c : wanted) {
    if (c == 'N' || c == 'n') c = 'H';
    else if (c == 'B' || c == 'b') c = 'E';
    else if (c == '.') c = '=';
    else if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return wanted;
}

}  // namespace

bool DescribeMove(const BoardPosition& board, int from, int to, MoveWords& w) {
  if (from < 0 || to < 0 || from >= BoardSquares || to >= BoardSquares || board.squares[from] == 0) return false;
  const uint8_t code = board.squares[from];
  w = MoveWords{};
  w.side = sideOfCode(code);
  w.kind = kindOfIndex(code & IndexMask);
  w.file = FileOf(w.side, columnOf(from));
  const int advance = Advance(w.side, rowOf(from), rowOf(to));
  w.direction = advance > 0 ? 1 : advance < 0 ? -1 : 0;
  const bool diagonal = w.kind == Horse || w.kind == Advisor || w.kind == Elephant;
  w.number = (diagonal || advance == 0) ? FileOf(w.side, columnOf(to)) : std::abs(advance);
  if (w.kind == Advisor || w.kind == Elephant || w.kind == General) return true;
  int rows[BoardRows];
  const int n = PiecesOnFile(board, w.side, w.kind, columnOf(from), rows);
  if (n < 2) return true;
  w.onFile = n;
  w.place = 0;
  while (w.place < n && rows[w.place] != rowOf(from)) ++w.place;
  if (w.kind != Soldier) return true;
  // With several soldiers on another file too, the place alone would not say which.
  for (int column = 0; column < BoardColumns; ++column) {
    int other[BoardRows];
    if (column != columnOf(from) && PiecesOnFile(board, w.side, Soldier, column, other) >= 2) w.fileAfterPlace = true;
  }
  return true;
}

std::string FormatWxfMove(const BoardPosition& board, int from, int to) {
  MoveWords w;
  if (!DescribeMove(board, from, to, w)) return "?";
  std::string piece{KindLetter[w.kind], static_cast<char>('0' + w.file)};
  if (w.place >= 0) {
    const char marker = w.onFile == 2 ? (w.place == 0 ? '+' : '-') : static_cast<char>('1' + w.place);
    piece = {marker, w.fileAfterPlace ? static_cast<char>('0' + w.file) : KindLetter[w.kind]};
  }
  const char direction = w.direction > 0 ? '+' : w.direction < 0 ? '-' : '=';
  return piece + direction + static_cast<char>('0' + w.number);
}

bool FindMoveByText(GameRecord& record, int side, const std::string& text,
                    std::string (*format)(const BoardPosition&, int, int), int& from, int& to) {
  int found = 0;
  record.forEachMove(side, [&](const Move& m) {
    if (format(record.position, m.from, m.to) == text) {
      from = m.from;
      to = m.to;
      ++found;
    }
    return false;
  });
  return found == 1;
}

bool ParseWxfMove(GameRecord& record, int side, const std::string& text, int& from, int& to) {
  return FindMoveByText(record, side, CanonicalWxf(text), FormatWxfMove, from, to);
}

}  // namespace rq
