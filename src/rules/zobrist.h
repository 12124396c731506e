// Random keys of piece placements, so that a search can recognise a position it has seen.
#pragma once

#include <cstdint>

#include "rules/types.h"

namespace rq {

// Rows of a power of two, so that make and unmake find a key with a shift.
constexpr int ZobristRow = 128;

struct ZobristKeys {
  uint64_t piece[16][ZobristRow];  // by PieceType code and square; no-piece codes stay 0
  uint64_t greenToMove;

  // Fixed keys from a splitmix64 sequence, so that every build and every run agree.
  constexpr ZobristKeys() : piece(), greenToMove() {
    uint64_t state = 0x52617665'6E717569ull;
    auto next = [&state] {
      uint64_t z = (state += 0x9E3779B97F4A7C15ull);
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
      return z ^ (z >> 31);
    };
    for (int type = 0; type < 16; ++type)
      for (int square = 0; square < BoardSquares; ++square)
        piece[type][square] = (type & 7) == NoKind ? 0 : next();
    greenToMove = next();
  }
};

inline constexpr ZobristKeys Zobrist{};

}  // namespace rq
