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

// The spellings of the piece and its file that WXF texts use in the wild.
enum class WxfForm {
  Convention,      // the WXF rules: "R+=3", "C--1", "P+=4", "++=4", and "7+=6" where two files hold soldiers
  Earlier,         // this program's releases before it followed them: "+R=3", "2P=4", "+7=6"
  FairyStockfish,  // Fairy-Stockfish: soldiers crowded on a file, or on two, by their place and file, "25=4"
};

// Whether the other of two like pieces on the file could make the same step and land on the
// board: only then do the convention and the other programs name the piece by its place.
bool TwinMovesAlike(const BoardPosition& board, int side, int kind, int from, int to) {
  int rows[BoardRows];
  if (PiecesOnFile(board, side, kind, columnOf(from), rows) != 2) return false;
  const int otherRow = rows[0] == rowOf(from) ? rows[1] : rows[0];
  const int row = otherRow + rowOf(to) - rowOf(from);
  return row >= 0 && row < BoardRows;
}

// The first two characters, the piece and its file or what stands for them, in `form`.
std::string PieceAndFile(const BoardPosition& board, int from, int to, const MoveWords& w, WxfForm form) {
  const char letter = KindLetter[w.kind], file = static_cast<char>('0' + w.file);
  if (w.place < 0) return {letter, file};
  const bool crowded = w.kind == Soldier && (w.onFile > 2 || w.fileAfterPlace);
  if (form == WxfForm::FairyStockfish && crowded) return {static_cast<char>('1' + w.place), file};
  if (form == WxfForm::Earlier) {
    const char marker = w.onFile == 2 ? (w.place == 0 ? '+' : '-') : static_cast<char>('1' + w.place);
    return {marker, w.fileAfterPlace ? file : letter};
  }
  if (w.fileAfterPlace) return {file, w.place == 0 ? '+' : w.place == w.onFile - 1 ? '-' : file};
  if (w.onFile == 2) {
    if (!TwinMovesAlike(board, w.side, w.kind, from, to)) return {letter, file};
    return {letter, w.place == 0 ? '+' : '-'};
  }
  // Three soldiers are front, file and rear; four or five add "++" and "--" for the outermost.
  const bool outer = w.onFile > 3;
  if (outer && w.place == 0) return "++";
  if (outer && w.place == w.onFile - 1) return "--";
  const int place = outer ? w.place - 1 : w.place, count = outer ? w.onFile - 2 : w.onFile;
  return {letter, place == 0 ? '+' : place == count - 1 ? '-' : file};
}

// The whole text of the move in `form`; "?" for an empty square.
std::string FormatWxf(const BoardPosition& board, int from, int to, WxfForm form) {
  MoveWords w;
  if (!DescribeMove(board, from, to, w)) return "?";
  const char direction = w.direction > 0 ? '+' : w.direction < 0 ? '-' : '=';
  return PieceAndFile(board, from, to, w, form) + direction + static_cast<char>('0' + w.number);
}

// The other spellings, as FindMoveByText takes a spelling.
std::string EarlierWxf(const BoardPosition& board, int from, int to) { return FormatWxf(board, from, to, WxfForm::Earlier); }
std::string FairyStockfishWxf(const BoardPosition& board, int from, int to) {
  return FormatWxf(board, from, to, WxfForm::FairyStockfish);
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
  return FormatWxf(board, from, to, WxfForm::Convention);
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
  const std::string wanted = CanonicalWxf(text);
  for (auto format : {FormatWxfMove, EarlierWxf, FairyStockfishWxf})
    if (FindMoveByText(record, side, wanted, format, from, to)) return true;
  return false;
}

}  // namespace rq
