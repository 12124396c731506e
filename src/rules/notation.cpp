#include "rules/notation.h"

#include <cstring>

#include "rules/evaluation.h"

namespace rq {
namespace {

constexpr char KindLetters[8] = {'?', 'p', 'r', 'n', 'c', 'a', 'b', 'k'};

// Why a FEN is refused; the numbers are rows counted from the top and points in a row.
constexpr const char* RowWidthText = N_("row %d has %d points, not 9");
constexpr const char* TooManyRowsText = N_("more than 10 rows");
constexpr const char* RowTooLongText = N_("row %d is longer than 9 points");
// TRANSLATORS: %c is the letter found in the FEN.
constexpr const char* PieceLetterText = N_("unknown piece letter '%c'");
constexpr const char* RowCountText = N_("the board has %d rows, not 10");
constexpr const char* LastRowWidthText = N_("the last row has %d points, not 9");
constexpr const char* SideLetterText = N_("unknown side to move '%c'");
constexpr const char* SideText = N_("unknown side to move");
constexpr const char* NoGeneralTexts[2] = {N_("no red general"), N_("no green general")};
// By side and kind, whole phrases, so that each language words its own plural.
constexpr const char* TooManyTexts[2][8] = {
    {"", N_("too many red soldiers"), N_("too many red chariots"), N_("too many red horses"),
     N_("too many red cannons"), N_("too many red advisors"), N_("too many red elephants"),
     N_("too many red generals")},
    {"", N_("too many green soldiers"), N_("too many green chariots"), N_("too many green horses"),
     N_("too many green cannons"), N_("too many green advisors"), N_("too many green elephants"),
     N_("too many green generals")}};
// Only these kinds are kept to a part of the board; %c%d is the point, such as e3.
constexpr const char* UnreachableTexts[2][8] = {
    {"", N_("red soldier on %c%d, a point it can never reach"), "", "", "",
     N_("red advisor on %c%d, a point it can never reach"), N_("red elephant on %c%d, a point it can never reach"),
     N_("red general on %c%d, a point it can never reach")},
    {"", N_("green soldier on %c%d, a point it can never reach"), "", "", "",
     N_("green advisor on %c%d, a point it can never reach"),
     N_("green elephant on %c%d, a point it can never reach"),
     N_("green general on %c%d, a point it can never reach")}};

int kindOfLetter(char lower) {
  switch (lower) {
    case 'p': return Soldier;
    case 'r': return Chariot;
    case 'n': case 'h': return Horse;
    case 'c': return Cannon;
    case 'a': return Advisor;
    case 'b': case 'e': return Elephant;
    case 'k': return General;
    default: return NoKind;
  }
}

// Whether a piece of this kind and side can ever stand on the square.
bool reachable(int kind, int side, int square) {
  const int column = columnOf(square);
  const int row = rowOf(square);
  // Rows counted from the side's own back rank.
  const int ownRow = side == Red ? BoardRows - 1 - row : row;
  const bool inPalace = column >= 3 && column <= 5 && ownRow <= 2;
  switch (kind) {
    case General: return inPalace;
    case Advisor: return inPalace && (column + ownRow) % 2 == 1;
    case Elephant:
      return ownRow <= 4 && ownRow % 2 == 0 && column % 2 == 0 && ((ownRow / 2 + column / 2) % 2 == 1);
    case Soldier:
      if (ownRow <= 2) return false;
      return ownRow >= 5 || column % 2 == 0;
    default: return true;
  }
}

char sideLetter(int side) { return side == Red ? 'w' : 'b'; }

// The FEN letter of a piece code ('K' red general, 'p' green soldier), or '?'.
char PieceLetter(uint8_t code) {
  if (code == 0) return '?';
  const int index = code & IndexMask;
  if (index < 1 || index > PiecesPerSide) return '?';
  char letter = KindLetters[kindOfIndex(index)];
  return sideOfCode(code) == Red ? static_cast<char>(letter - 'a' + 'A') : letter;
}

}  // namespace

bool LoadFen(GameRecord& record, const std::string& fen, int& sideToMove, PositionFault& fault) {
  uint8_t squares[BoardSquares] = {};
  int used[2][8] = {};
  size_t i = 0;
  int row = 0, column = 0;
  for (; i < fen.size() && fen[i] != ' '; ++i) {
    const char c = fen[i];
    if (c == '/') {
      if (column != BoardColumns) {
        fault = {RowWidthText, row + 1, column};
        return false;
      }
      if (++row >= BoardRows) { fault = {TooManyRowsText}; return false; }
      column = 0;
    } else if (c >= '1' && c <= '9') {
      column += c - '0';
      if (column > BoardColumns) {
        fault = {RowTooLongText, row + 1};
        return false;
      }
    } else {
      const bool upper = c >= 'A' && c <= 'Z';
      const int kind = kindOfLetter(upper ? static_cast<char>(c - 'A' + 'a') : c);
      if (kind == NoKind) { fault = {PieceLetterText, static_cast<unsigned char>(c)}; return false; }
      if (column >= BoardColumns) {
        fault = {RowTooLongText, row + 1};
        return false;
      }
      const int side = upper ? Red : Green;
      const int square = squareOf(column, row);
      if (used[side][kind] >= KindCapacity[kind]) {
        fault = {TooManyTexts[side][kind]};
        return false;
      }
      if (!reachable(kind, side, square)) {
        const std::string point = FormatMove(square, square);
        fault = {UnreachableTexts[side][kind], point[0], point[1] - '0'};
        return false;
      }
      const int index = KindFirstIndex[kind] + used[side][kind]++;
      squares[square] = static_cast<uint8_t>(colourBit(side) | index);
      ++column;
    }
  }
  if (row != BoardRows - 1 || column != BoardColumns) {
    fault = row != BoardRows - 1 ? PositionFault{RowCountText, row + 1} : PositionFault{LastRowWidthText, column};
    return false;
  }
  for (int side = 0; side < 2; ++side)
    if (used[side][General] != 1) {
      fault = {NoGeneralTexts[side]};
      return false;
    }
  int side = Red;
  while (i < fen.size() && fen[i] == ' ') ++i;
  if (i < fen.size()) {
    const char c = fen[i];
    if (c == 'w' || c == 'r' || c == 'W' || c == 'R') side = Red;
    else if (c == 'b' || c == 'B') side = Green;
    else { fault = {SideLetterText, static_cast<unsigned char>(c)}; return false; }
    if (i + 1 < fen.size() && fen[i + 1] != ' ') { fault = {SideText}; return false; }
  }

  std::memcpy(record.position.squares, squares, BoardSquares);
  std::memcpy(record.startSquares, squares, BoardSquares);
  record.startSide = side;
  int32_t value = 0, extra = 0;
  for (int s = 0; s < BoardSquares; ++s) {
    const uint8_t code = squares[s];
    if (code == 0) continue;
    const int pieceSide = sideOfCode(code);
    const int type = record.pieceTypeOf(pieceSide, code & IndexMask);
    value += pieceSide == Green ? MaterialValue[type & 7] : -MaterialValue[type & 7];
    extra += record.pieceSquareTable[type][s];
  }
  record.position.boardValue = value;
  record.position.boardExtraValue = extra;
  record.moveCount = 0;
  record.recordedMoves = 0;
  record.endPly = NoEndPly;
  record.historyOverflowed = false;
  record.historyDetached = false;
  record.recentMoves = 0;
  record.rebuildPieceLists();
  sideToMove = side;
  return true;
}

bool LoadFen(GameRecord& record, const std::string& fen, int& sideToMove, std::string& error) {
  PositionFault fault;
  if (LoadFen(record, fen, sideToMove, fault)) return true;
  error = fault.english();
  return false;
}

std::string WriteFen(const GameRecord& record, int sideToMove, int halfmoveClock, int fullmoveNumber) {
  return WriteFen(record.position.squares, sideToMove, halfmoveClock, fullmoveNumber);
}

std::string WriteFen(const uint8_t (&squares)[BoardSquares], int sideToMove, int halfmoveClock, int fullmoveNumber) {
  std::string fen;
  for (int row = 0; row < BoardRows; ++row) {
    int empty = 0;
    for (int column = 0; column < BoardColumns; ++column) {
      const uint8_t code = squares[squareOf(column, row)];
      if (code == 0) { ++empty; continue; }
      if (empty) fen += static_cast<char>('0' + empty);
      empty = 0;
      fen += PieceLetter(code);
    }
    if (empty) fen += static_cast<char>('0' + empty);
    if (row != BoardRows - 1) fen += '/';
  }
  fen += ' ';
  fen += sideLetter(sideToMove);
  fen += " - - " + std::to_string(halfmoveClock) + " " + std::to_string(fullmoveNumber);
  return fen;
}

std::string FormatMove(int from, int to) {
  auto point = [](int s) {
    if (s < 0 || s >= BoardSquares) return std::string("??");
    return std::string{static_cast<char>('a' + columnOf(s)), static_cast<char>('0' + (BoardRows - 1 - rowOf(s)))};
  };
  return point(from) + point(to);
}

bool ParseMove(const std::string& text, int& from, int& to) {
  if (text.size() != 4) return false;
  int squares[2];
  for (int k = 0; k < 2; ++k) {
    const char file = text[2 * k], rank = text[2 * k + 1];
    if (file < 'a' || file > 'i' || rank < '0' || rank > '9') return false;
    squares[k] = squareOf(file - 'a', BoardRows - 1 - (rank - '0'));
  }
  from = squares[0];
  to = squares[1];
  return true;
}

}  // namespace rq
