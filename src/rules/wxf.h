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

// The WXF text of the move: "+C=5" for the front one of two, "2P=4" for the second of three
// or more soldiers, "+7=6" where two files hold several soldiers; "?" for an empty square.
std::string FormatWxfMove(const BoardPosition& board, int from, int to);

// Finds the move of `side` that the WXF text names among the moves its pieces can make;
// "N" and "B" are taken for "H" and "E". False when no move, or more than one, fits.
bool ParseWxfMove(GameRecord& record, int side, const std::string& text, int& from, int& to);

// The one move of `side` whose text under `format` is `text`; false when none or several.
bool FindMoveByText(GameRecord& record, int side, const std::string& text,
                    std::string (*format)(const BoardPosition&, int, int), int& from, int& to);

}  // namespace rq
