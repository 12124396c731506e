// Positions as FEN and moves as coordinate text (files a-i, ranks 0-9 from red's side).
#pragma once

#include <string>

#include "rules/game_record.h"
#include "rules/position_fault.h"

namespace rq {

constexpr const char* StartFen = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1";

// Sets up `record` from a FEN; on error leaves it untouched and says what is wrong.
bool LoadFen(GameRecord& record, const std::string& fen, int& sideToMove, PositionFault& fault);
// The same, with what is wrong in English words.
bool LoadFen(GameRecord& record, const std::string& fen, int& sideToMove, std::string& error);

// The record's position as FEN, with `sideToMove` and the move counters given.
std::string WriteFen(const GameRecord& record, int sideToMove, int halfmoveClock = 0, int fullmoveNumber = 1);
std::string WriteFen(const uint8_t (&squares)[BoardSquares], int sideToMove, int halfmoveClock = 0,
                     int fullmoveNumber = 1);

// "h2e2" for the move from column 7, row 7 to column 4, row 7.
std::string FormatMove(int from, int to);
inline std::string FormatMove(const Move& m) { return FormatMove(m.from, m.to); }

// Parses four characters of coordinate text; false for anything else.
bool ParseMove(const std::string& text, int& from, int& to);

}  // namespace rq
