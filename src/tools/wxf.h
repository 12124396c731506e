// WXF move notation: piece, file (or front/rear), direction, file or distance ("C2=5", "H8+7").
#pragma once

#include <string>

#include "rules/game_record.h"

namespace rq {

// The WXF text of the move from -> to for the piece standing on `from`.
// Files count 1 to 9 from each player's own right. Where two chariots, horses, cannons or
// soldiers of a side share the file, "+" (front) or "-" (rear) stands before the letter
// instead of the file ("+C=5"); three or more soldiers on a file are numbered from the
// front ("2P=4"); when two files each hold several soldiers the marker is followed by
// the file and the letter is left out ("+7=6"). Advisors and elephants always give their
// file: their direction tells two on one file apart.
std::string FormatWxfMove(const BoardPosition& board, int from, int to);

// Finds the move of `side` that the WXF text names among the moves its pieces can make;
// "N" and "B" are taken for "H" and "E". False when no move, or more than one, fits.
bool ParseWxfMove(GameRecord& record, int side, const std::string& text, int& from, int& to);

}  // namespace rq
