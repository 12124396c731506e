// Reading the current-game file. Every number is range-checked as it is read, so no
// count or code from a damaged file can reach past a capacity.
#include <cstring>
#include <iterator>

#include "game/game_file.h"
#include "game/game_file_ranges.h"

namespace rq {

namespace {

// The lines of one record, each whole (ended by '\n'), a trailing '\r' dropped.
struct LineReader {
  const char* text;
  size_t length;
  size_t pos = 0;
  int number = 0;

  // Moves to the next line; false when the text ends before a whole line.
  bool next(const char*& begin, const char*& end) {
    if (pos >= length) return false;
    const void* newline = std::memchr(text + pos, '\n', length - pos);
    if (!newline) return false;
    begin = text + pos;
    end = static_cast<const char*>(newline);
    pos = static_cast<size_t>(end - text) + 1;
    if (end > begin && end[-1] == '\r') --end;
    ++number;
    return true;
  }
};

// A cursor over one line, with the scanning the layout needs.
struct Field {
  const char* p;
  const char* end;

  void skipBlanks() {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
  }

  // Consumes `prefix` exactly.
  bool literal(const char* prefix) {
    const size_t n = std::strlen(prefix);
    if (static_cast<size_t>(end - p) < n || std::memcmp(p, prefix, n) != 0) return false;
    p += n;
    return true;
  }

  // A decimal number as "%d" reads it (blanks, sign, digits), within lo..hi.
  bool integer(int64_t lo, int64_t hi, int32_t& out) {
    skipBlanks();
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    if (p >= end || *p < '0' || *p > '9') return false;
    int64_t value = 0;
    while (p < end && *p >= '0' && *p <= '9') {
      if (value <= 100000000000LL) value = value * 10 + (*p - '0');
      ++p;
    }
    if (negative) value = -value;
    if (value < lo || value > hi) return false;
    out = static_cast<int32_t>(value);
    return true;
  }

  // Nothing but blanks is left.
  bool rest() {
    skipBlanks();
    return p == end;
  }

  // A side's word, "red" or "green", and nothing after it.
  bool side(int32_t& out) {
    for (int s = Red; s <= Green; ++s) {
      Field word = *this;
      if (!word.literal(SideWords[s]) || !word.rest()) continue;
      out = s;
      p = word.p;
      return true;
    }
    return false;
  }
};

// "Prefix" followed by one number in range and nothing else.
bool numberLine(LineReader& lines, const char* prefix, int64_t lo, int64_t hi, int32_t& out, GameFileError& error) {
  const char *begin, *end;
  if (!lines.next(begin, end)) return error.fail(lines.number + 1, fault::FileEndsEarly);
  Field f{begin, end};
  if (!f.literal(prefix)) return error.fail(lines.number, fault::UnexpectedLine);
  if (!f.integer(lo, hi, out) || !f.rest()) return error.fail(lines.number, fault::NumberOutOfRange);
  return true;
}

// One history line: from, arrow, to, the capture field at character 10, 32 snapshot values.
bool historyLine(LineReader& lines, HistoryEntry& entry, GameFileError& error) {
  const char *begin, *end;
  if (!lines.next(begin, end)) return error.fail(lines.number + 1, fault::FileEndsEarly);
  const int line = lines.number;
  if (end - begin < 14) return error.fail(line, fault::HistoryLineTooShort);
  Field f{begin, end};
  int32_t from = 0, to = 0, captured = 0;
  if (!f.integer(0, BoardSquares - 1, from)) return error.fail(line, fault::BadFromSquare);
  f.skipBlanks();
  if (!f.literal("-->") || !f.integer(0, BoardSquares - 1, to)) return error.fail(line, fault::BadToSquare);
  // Character 10 says whether the move captured; the code follows it.
  if (begin[10] == 'x') {
    Field c{begin + 11, end};
    if (!c.integer(0, 255, captured) || !IsPieceCode(captured)) return error.fail(line, fault::BadCapturedCode);
  }
  entry.from = static_cast<uint8_t>(from);
  entry.to = static_cast<uint8_t>(to);
  entry.captured = static_cast<uint8_t>(captured);
  Field s{begin + 13, end};
  for (int side = 0; side < 2; ++side) {
    entry.pieceSquare[side][0] = 0;
    for (int index = 1; index <= PiecesPerSide; ++index) {
      int32_t value = 0;
      if (!s.integer(0, 255, value) || !IsSnapshotValue(value)) return error.fail(line, fault::BadSnapshotValue);
      entry.pieceSquare[side][index] = static_cast<uint8_t>(value);
    }
  }
  if (!s.rest()) return error.fail(line, fault::TextAfterSnapshot);
  return true;
}

// A count line, then that many lines of codes of the given colour.
bool eatenList(LineReader& lines, const char* prefix, uint8_t colour, uint8_t* codes, int32_t& count,
               GameFileError& error) {
  if (!numberLine(lines, prefix, 0, MaxEatenCount, count, error)) return false;
  for (int i = 0; i < count; ++i) {
    int32_t code = 0;
    if (!numberLine(lines, "", 0, 255, code, error)) return false;
    if (!IsPieceCode(code) || (code & colour) == 0) return error.fail(lines.number, fault::BadEatenCode);
    codes[i] = static_cast<uint8_t>(code);
  }
  return true;
}

// The keyed lines a game may add, each naming a side.
struct KeyedLine {
  const char* key;
  int32_t GameFileData::*field;
};
constexpr KeyedLine KeyedLines[] = {{PlayerKey, &GameFileData::playerSide}, {ResignedKey, &GameFileData::resignedSide}};

// The keyed lines, in any order, up to the first of the two empty lines that end a record,
// which they consume. A key that is unknown (a later release's) or given twice refuses the
// record: what it would mean cannot be known.
bool keyedLines(LineReader& lines, GameFileData& out, GameFileError& error) {
  bool seen[std::size(KeyedLines)] = {};
  for (;;) {
    const char *begin, *end;
    if (!lines.next(begin, end)) return error.fail(lines.number + 1, fault::FileEndsEarly);
    if (end == begin) return true;
    Field f{begin, end};
    if (f.literal(StartKey)) {
      if (!out.startFen.empty()) return error.fail(lines.number, fault::LineGivenTwice);
      out.startFen.assign(f.p, end);
      if (out.startFen.empty()) return error.fail(lines.number, fault::BadStartPosition);
      continue;
    }
    size_t k = 0;
    while (k < std::size(KeyedLines) && !f.literal(KeyedLines[k].key)) ++k;
    if (k == std::size(KeyedLines)) return error.fail(lines.number, fault::EmptyLineExpected);
    if (seen[k]) return error.fail(lines.number, fault::LineGivenTwice);
    seen[k] = true;
    if (!f.side(out.*KeyedLines[k].field)) return error.fail(lines.number, fault::BadSide);
  }
}

// One of the two empty lines that end a record.
bool emptyLine(LineReader& lines, GameFileError& error) {
  const char *begin, *end;
  if (!lines.next(begin, end)) return error.fail(lines.number + 1, fault::FileEndsEarly);
  if (end != begin) return error.fail(lines.number, fault::EmptyLineExpected);
  return true;
}

// Lines 1 and 2: the magic, which is not checked (a file with another first line loads all
// the same), and the game number with the saving time.
bool gameHeader(LineReader& lines, int32_t& number, std::string& savedAt, GameFileError& error) {
  const char *begin, *end;
  if (!lines.next(begin, end)) return error.fail(1, fault::FileEndsEarly);
  if (!lines.next(begin, end)) return error.fail(2, fault::FileEndsEarly);
  Field game{begin, end};
  if (!game.literal("Game #: ") || !game.integer(1, MaxGameNumber, number)) return error.fail(2, fault::BadGameNumber);
  savedAt.clear();
  if (game.literal(" (saved ") && end > game.p && end[-1] == ')') savedAt.assign(game.p, end - 1);
  return true;
}

}  // namespace

bool ParseGameHeader(const char* text, size_t length, int32_t& number, std::string& savedAt) {
  LineReader lines{text, length};
  GameFileError error;
  return gameHeader(lines, number, savedAt, error);
}

bool ParseGameFile(const char* text, size_t length, size_t& consumed, GameFileData& out, GameFileError& error) {
  consumed = 0;
  error = GameFileError{};
  LineReader lines{text, length};
  const char *begin, *end;
  if (!gameHeader(lines, out.gameNumber, out.savedAt, error)) return false;

  int32_t flag = 0;
  if (!numberLine(lines, "Game ended: ", INT32_MIN, INT32_MAX, flag, error)) return false;
  out.gameEnded = flag == 1;
  if (!numberLine(lines, "User's turn: ", INT32_MIN, INT32_MAX, flag, error)) return false;
  out.usersTurn = flag == 1;
  if (!numberLine(lines, "Board value: ", INT32_MIN, INT32_MAX, out.board.boardValue, error)) return false;
  if (!numberLine(lines, "Board extra value: ", INT32_MIN, INT32_MAX, out.board.boardExtraValue, error)) return false;

  for (int row = 0; row < BoardRows; ++row) {
    if (!lines.next(begin, end)) return error.fail(lines.number + 1, fault::FileEndsEarly);
    Field f{begin, end};
    for (int column = 0; column < BoardColumns; ++column) {
      int32_t code = 0;
      if (!f.integer(0, 255, code) || (code != 0 && !IsPieceCode(code)))
        return error.fail(lines.number, fault::BadBoardCode);
      out.board.squares[squareOf(column, row)] = static_cast<uint8_t>(code);
    }
    if (!f.rest()) return error.fail(lines.number, fault::TextAfterNinthSquare);
  }

  if (!numberLine(lines, "Recorded moves: ", 0, HistoryCapacity, out.recordedMoves, error)) return false;
  if (!numberLine(lines, "Next move: ", 0, out.recordedMoves, out.moveCount, error)) return false;
  for (int i = 0; i < out.recordedMoves; ++i)
    if (!historyLine(lines, out.history[i], error)) return false;

  if (!eatenList(lines, "Eaten red pieces: ", RedBit, out.eatenRed, out.eatenRedCount, error)) return false;
  if (!eatenList(lines, "Eaten green pieces: ", GreenBit, out.eatenGreen, out.eatenGreenCount, error)) return false;
  out.playerSide = Red;
  out.resignedSide = NoSide;
  out.startFen.clear();
  if (!keyedLines(lines, out, error) || !emptyLine(lines, error)) return false;
  consumed = lines.pos;
  return true;
}

}  // namespace rq
