// The ranges a stored game's numbers must keep to.
#pragma once

#include <cstdint>

#include "rules/types.h"

namespace rq {

constexpr int32_t MaxGameNumber = INT32_MAX;

// A code of one of the 32 pieces: 0x21..0x30 green, 0x41..0x50 red.
constexpr bool IsPieceCode(int32_t code) {
  const int32_t index = code & IndexMask;
  return (code & ~(RedBit | GreenBit | IndexMask)) == 0 && ((code & RedBit) != 0) != ((code & GreenBit) != 0) &&
         index >= 1 && index <= PiecesPerSide;
}

// A piece-list entry: a square, or a square with the capture mark.
constexpr bool IsSnapshotValue(int32_t value) {
  return (value >= 0 && value < BoardSquares) ||
         (value >= CapturedMark && value < CapturedMark + BoardSquares);
}

}  // namespace rq
