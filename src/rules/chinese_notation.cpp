#include "rules/chinese_notation.h"

#include "rules/wxf.h"

namespace rq {
namespace {

// Piece names by kind, red's and green's.
const char* const PieceName[2][8] = {{"?", "兵", "车", "马", "炮", "仕", "相", "帅"},
                                     {"?", "卒", "车", "马", "炮", "士", "象", "将"}};
const char* const RedNumeral[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
const char* const GreenNumeral[10] = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

// A file or distance in the side's own numerals.
const char* Numeral(int side, int n) { return n >= 1 && n <= 9 ? (side == Red ? RedNumeral : GreenNumeral)[n] : "?"; }

// Where a piece stands among `onFile` of its kind on the file, front first.
const char* Place(int place, int onFile) {
  static const char* const Ordinal[5] = {"前", "二", "三", "四", "五"};
  if (place == 0) return "前";
  if (place == onFile - 1 && onFile <= 3) return "后";
  if (onFile == 3) return "中";
  return place < 5 ? Ordinal[place] : "?";
}

}  // namespace

std::string FormatChineseMove(const BoardPosition& board, int from, int to) {
  MoveWords w;
  if (!DescribeMove(board, from, to, w)) return "?";
  std::string text;
  if (w.place < 0) {
    text = std::string(PieceName[w.side][w.kind]) + Numeral(w.side, w.file);
  } else {
    text = Place(w.place, w.onFile);
    text += w.fileAfterPlace ? Numeral(w.side, w.file) : PieceName[w.side][w.kind];
  }
  text += w.direction > 0 ? "进" : w.direction < 0 ? "退" : "平";
  return text + Numeral(w.side, w.number);
}

bool ParseChineseMove(GameRecord& record, int side, const std::string& text, int& from, int& to) {
  return FindMoveByText(record, side, text, FormatChineseMove, from, to);
}

}  // namespace rq
