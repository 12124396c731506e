// Chinese move notation as players write it: 炮二平五, 马８进７, 前车进一.
#pragma once

#include <string>

#include "rules/game_record.h"

namespace rq {

// The characters a move is written in: the mainland's simplified ones, or the traditional
// ones of Taiwan and Hong Kong (車 馬 帥 將 進 後 for 车 马 帅 将 进 后).
enum class ChineseScript { Simplified, Traditional };

// The UTF-8 text of the move from -> to for the piece on `from`, the same words as WXF
// (DescribeMove): red counts files in Chinese numerals, green in full-width digits. Two
// pieces on a file are 前/后, three soldiers 前/中/后, four or five 前/二/三/四/五; where two
// files hold several soldiers the place is followed by the file (前三进一). "?" for an
// empty square.
std::string FormatChineseMove(const BoardPosition& board, int from, int to,
                              ChineseScript script = ChineseScript::Simplified);

// The one move of `side` that the text, in simplified characters, names; false when none or several.
bool ParseChineseMove(GameRecord& record, int side, const std::string& text, int& from, int& to);

}  // namespace rq
