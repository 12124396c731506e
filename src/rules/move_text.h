// Moves as other programs and books write them: ICCS coordinates, WXF or Chinese notation.
#pragma once

#include <string>

#include "rules/game_record.h"

namespace rq {

enum class MoveNotation { Unknown, Iccs, Wxf, Chinese };

// The notation a PGN [Format] tag names ("ICCS", "WXF", "Chinese"); Unknown for others.
MoveNotation NotationOfFormatTag(const std::string& value);

// The notation a move's text is written in, by its look; Unknown when it fits none.
MoveNotation NotationOfText(const std::string& text);

// The Chinese text in the simplified characters and the side's own numerals that
// FormatChineseMove writes: traditional characters, ASCII or full-width digits and
// Chinese numerals are all taken.
std::string CanonicalChineseMove(int side, const std::string& text);

// Finds the move of `side` that the text names in any of the three notations, coordinates
// also as "H2-E2"; false when it names no move of a piece of `side`, or several.
bool ParseMoveText(GameRecord& record, int side, const std::string& text, int& from, int& to);

}  // namespace rq
