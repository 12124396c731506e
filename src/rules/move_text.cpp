#include "rules/move_text.h"

#include <cstring>

#include "rules/chinese_notation.h"
#include "rules/notation.h"
#include "rules/wxf.h"

namespace rq {
namespace {

// Coordinates in lower case without the dash: "H2-E2" is "h2e2".
std::string CanonicalIccs(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '-') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

bool IsFileLetter(char c) { return (c >= 'a' && c <= 'i') || (c >= 'A' && c <= 'I'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The UTF-8 characters of a text, each as its own string.
int SplitCharacters(const std::string& text, std::string* out, int capacity) {
  int n = 0;
  for (size_t i = 0; i < text.size() && n < capacity;) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    out[n++] = text.substr(i, length);
    i += length;
  }
  return n;
}

// Characters that stand for the same word, each with its simplified red and green forms.
struct Spelling {
  const char* spellings;  // space-separated
  const char* red;
  const char* green;
};
constexpr Spelling Spellings[] = {
    {"车 車 俥 伡", "车", "车"}, {"马 馬 傌 㐷", "马", "马"}, {"炮 砲 包", "炮", "炮"},
    {"相 象", "相", "象"},       {"仕 士", "仕", "士"},       {"帅 帥 将 將", "帅", "将"},
    {"兵 卒", "兵", "卒"},       {"进 進", "进", "进"},       {"退", "退", "退"},
    {"平", "平", "平"},          {"前", "前", "前"},          {"后 後", "后", "后"},
    {"中", "中", "中"},
};
const char* const ChineseNumerals[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
const char* const FullWidthDigits[10] = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

// A digit 1..9 in any of its three writings, or 0.
int NumeralValue(const std::string& c) {
  if (c.size() == 1 && c[0] >= '1' && c[0] <= '9') return c[0] - '0';
  for (int n = 1; n <= 9; ++n)
    if (c == ChineseNumerals[n] || c == FullWidthDigits[n]) return n;
  return 0;
}

// Whether the space-separated list holds the character.
bool ListHolds(const char* list, const std::string& c) {
  for (const char* p = list; *p;) {
    const char* end = std::strchr(p, ' ');
    const size_t length = end ? static_cast<size_t>(end - p) : std::strlen(p);
    if (c.size() == length && c.compare(0, length, p, length) == 0) return true;
    p += length + (end ? 1 : 0);
  }
  return false;
}

}  // namespace

MoveNotation NotationOfFormatTag(const std::string& value) {
  std::string v = CanonicalIccs(value);
  if (v == "iccs" || v == "coordinates") return MoveNotation::Iccs;
  if (v == "wxf") return MoveNotation::Wxf;
  if (v == "chinese" || v == "chn" || v == "cn") return MoveNotation::Chinese;
  return MoveNotation::Unknown;
}

MoveNotation NotationOfText(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return MoveNotation::Chinese;
  const std::string iccs = CanonicalIccs(text);
  if (iccs.size() == 4 && IsFileLetter(iccs[0]) && IsDigit(iccs[1]) && IsFileLetter(iccs[2]) && IsDigit(iccs[3]))
    return MoveNotation::Iccs;
  if (text.size() == 4 && std::strchr("+-=.", text[2]) != nullptr) return MoveNotation::Wxf;
  return MoveNotation::Unknown;
}

std::string CanonicalChineseMove(int side, const std::string& text) {
  constexpr int Capacity = 8;
  std::string c[Capacity];
  const int n = SplitCharacters(text, c, Capacity);
  std::string out;
  for (int i = 0; i < n; ++i) {
    const int value = NumeralValue(c[i]);
    // The first character may be a place among several soldiers (二兵), which is a word, not a file.
    if (value > 0 && i > 0) {
      out += (side == Red ? ChineseNumerals : FullWidthDigits)[value];
      continue;
    }
    const Spelling* found = nullptr;
    for (const Spelling& s : Spellings)
      if (ListHolds(s.spellings, c[i])) found = &s;
    out += found ? (side == Red ? found->red : found->green) : c[i];
  }
  return out;
}

bool ParseMoveText(GameRecord& record, int side, const std::string& text, int& from, int& to) {
  switch (NotationOfText(text)) {
    case MoveNotation::Iccs: {
      if (!ParseMove(CanonicalIccs(text), from, to)) return false;
      const uint8_t code = record.position.squares[from];
      return code != 0 && sideOfCode(code) == side && record.pieceCanMove(side, from, to);
    }
    case MoveNotation::Chinese:
      return ParseChineseMove(record, side, CanonicalChineseMove(side, text), from, to);
    case MoveNotation::Wxf:
      return ParseWxfMove(record, side, text, from, to);
    default:
      return false;
  }
}

}  // namespace rq
