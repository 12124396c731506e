// Chinese move notation as players write it: 炮二平五, 马８进７, 前车进一.
#pragma once

#include <string>

#include "rules/game_record.h"

namespace rq {

// The UTF-8 text of the move from -> to for the piece on `from`, the same words as WXF
// (DescribeMove): red counts files in Chinese numerals, green in full-width digits. Two
// pieces on a file are 前/后, three soldiers 前/中/后, four or five 前/二/三/四/五; where two
// files hold several soldiers the place is followed by the file (前三进一). "?" for an
// empty square.
std::string FormatChineseMove(const BoardPosition& board, int from, int to);

// The one move of `side` that the text names; false when none or several.
bool ParseChineseMove(GameRecord& record, int side, const std::string& text, int& from, int& to);

}  // namespace rq
