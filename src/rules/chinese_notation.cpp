#include "rules/chinese_notation.h"

#include "rules/wxf.h"

namespace rq {
namespace {

// The words of each script: piece names by side and kind, the three directions, and the
// rear of two or three.
struct Script {
  const char* piece[2][8];
  const char *forward, *back, *across, *rear;
};
const Script Scripts[2] = {
    {{{"?", "兵", "车", "马", "炮", "仕", "相", "帅"}, {"?", "卒", "车", "马", "炮", "士", "象", "将"}}, "进", "退", "平", "后"},
    {{{"?", "兵", "車", "馬", "炮", "仕", "相", "帥"}, {"?", "卒", "車", "馬", "炮", "士", "象", "將"}}, "進", "退", "平", "後"},
};
const char* const RedNumeral[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
const char* const GreenNumeral[10] = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

// A file or distance in the side's own numerals.
const char* Numeral(int side, int n) { return n >= 1 && n <= 9 ? (side == Red ? RedNumeral : GreenNumeral)[n] : "?"; }

// Where a piece stands among `onFile` of its kind on the file, front first.
const char* Place(int place, int onFile, const Script& words) {
  static const char* const Ordinal[5] = {"前", "二", "三", "四", "五"};
  if (place == 0) return "前";
  if (place == onFile - 1 && onFile <= 3) return words.rear;
  if (onFile == 3) return "中";
  return place < 5 ? Ordinal[place] : "?";
}

// The simplified text, as the parser reads it.
std::string FormatSimplified(const BoardPosition& board, int from, int to) { return FormatChineseMove(board, from, to); }

}  // namespace

std::string FormatChineseMove(const BoardPosition& board, int from, int to, ChineseScript script) {
  const Script& words = Scripts[script == ChineseScript::Traditional ? 1 : 0];
  MoveWords w;
  if (!DescribeMove(board, from, to, w)) return "?";
  std::string text;
  if (w.place < 0) {
    text = std::string(words.piece[w.side][w.kind]) + Numeral(w.side, w.file);
  } else {
    text = Place(w.place, w.onFile, words);
    text += w.fileAfterPlace ? Numeral(w.side, w.file) : words.piece[w.side][w.kind];
  }
  text += w.direction > 0 ? words.forward : w.direction < 0 ? words.back : words.across;
  return text + Numeral(w.side, w.number);
}

bool ParseChineseMove(GameRecord& record, int side, const std::string& text, int& from, int& to) {
  return FindMoveByText(record, side, text, FormatSimplified, from, to);
}

}  // namespace rq
