// WXF move notation: piece, file (or front/rear), direction, file or distance ("C2=5", "H8+7"),
// and the parts of a move that the Chinese notation writes the same way.
#pragma once

#include <string>

#include "rules/game_record.h"

namespace rq {

// What both notations say about one move; only the words differ.
struct MoveWords {
  int side = Red;
  int kind = NoKind;
  int file = 0;          // the piece's file, 1 to 9 from its own side's right
  int place = -1;        // 0 for the front piece of its kind on the file; -1 when the file names it
  int onFile = 1;        // pieces of its kind on the file, where `place` is used
  bool fileAfterPlace = false;  // soldiers crowd two files: the place is followed by the file
  int direction = 0;     // +1 forward, -1 back, 0 sideways
  int number = 0;        // the file reached, or the rows travelled
};

// The words of the move from -> to for the piece standing on `from`; false for an empty square.
// Where two chariots, horses, cannons or soldiers of a side share the file, their place
// (front first) stands instead of the file; when two files each hold several soldiers the
// place is followed by the file. Advisors and elephants always give their file: their
// direction tells two on one file apart.
bool DescribeMove(const BoardPosition& board, int from, int to, MoveWords& words);

// The WXF text of the move by the WXF rules: two like pieces on a file are "C+=5" and "C-=5"
// where the other one could make the same step on the board, else named by their file;
// three soldiers on a file are "P+", "P" and the file, "P-", four or five add "++" and "--";
// where two files hold several soldiers, the file and then "+", "-" or the file again ("7+=6").
// "?" for an empty square.
std::string FormatWxfMove(const BoardPosition& board, int from, int to);

// Finds the move of `side` that the WXF text names among the moves its pieces can make;
// "N" and "B" are taken for "H" and "E", "." for "=". The spellings of this program's earlier
// releases ("+C=5", "2P=4", "+7=6") and of Fairy-Stockfish ("25=4") are read too, where the
// text names no move in the rules' spelling. False when no move, or more than one, fits.
bool ParseWxfMove(GameRecord& record, int side, const std::string& text, int& from, int& to);

// The one move of `side` whose text under `format` is `text`; false when none or several.
bool FindMoveByText(GameRecord& record, int side, const std::string& text,
                    std::string (*format)(const BoardPosition&, int, int), int& from, int& to);

}  // namespace rq
