// Material values and piece-square tables: the whole of the static evaluation.
// Header-only so that make and unmake in the rules engine can update both sums inline.
#pragma once

#include <array>
#include <cstdint>

#include "rules/types.h"

namespace rq {

using SquareTable = std::array<int32_t, BoardSquares>;

// Indexed by piece kind 1..7 (entry 0 unused).
constexpr int32_t MaterialValue[8] = {0, 30, 600, 270, 285, 120, 120, 6000};

// Seen from green: positive is good for green; row 0 is green's back rank.
constexpr SquareTable GreenSoldierTable = {
    0,  0,  0,  0,   0,  0,  0,  0,  0,
    0,  0,  0,  0,   0,  0,  0,  0,  0,
    0,  0,  0,  0,   0,  0,  0,  0,  0,
    0,  0, -2,  0,   4,  0, -2,  0,  0,
    2,  0,  8,  0,   8,  0,  8,  0,  2,
    6, 12, 18, 18,  20, 18, 18, 12,  6,
   10, 20, 30, 34,  40, 34, 30, 20, 10,
   14, 26, 42, 60,  80, 60, 42, 26, 14,
   18, 36, 56, 80, 120, 80, 56, 36, 18,
    0,  3,  6,  9,  12,  9,  6,  3,  0};

constexpr SquareTable GreenChariotTable = {
   -2, 10,  6, 14, 12, 14,  6, 10, -2,
    8,  4,  8, 16,  8, 16,  8,  4,  8,
    4,  8,  6, 14, 12, 14,  6,  8,  4,
    6, 10,  8, 14, 14, 14,  8, 10,  6,
   12, 16, 14, 20, 20, 20, 14, 16, 12,
   12, 14, 12, 18, 18, 18, 12, 14, 12,
   12, 18, 16, 22, 22, 22, 16, 18, 12,
   12, 12, 12, 18, 18, 18, 12, 12, 12,
   16, 20, 18, 24, 26, 24, 18, 20, 16,
   14, 14, 12, 18, 16, 18, 12, 14, 14};

constexpr SquareTable GreenHorseTable = {
    0, -4,  0,  0,  0,  0,  0, -4,  0,
    0,  2,  4,  4, -2,  4,  4,  2,  0,
    4,  2,  8,  8,  4,  8,  8,  2,  4,
    2,  6,  8,  6, 10,  6,  8,  6,  2,
    4, 12, 16, 14, 12, 14, 16, 12,  4,
    6, 16, 14, 18, 16, 18, 14, 16,  6,
    8, 24, 18, 24, 20, 24, 18, 24,  8,
   12, 14, 16, 20, 18, 20, 16, 14, 12,
    4, 10, 28, 16,  8, 16, 28, 10,  4,
    4,  8, 16, 12,  4, 12, 16,  8,  4};

constexpr SquareTable GreenCannonTable = {
    0,  0,  2,   6,   6,   6,  2,  0,  0,
    0,  2,  4,   6,   6,   6,  4,  2,  0,
    4,  0,  8,   6,  10,   6,  8,  0,  4,
    0,  0,  0,   2,   4,   2,  0,  0,  0,
   -2,  0,  4,   2,   6,   2,  4,  0, -2,
    0,  0,  0,   2,   8,   2,  0,  0,  0,
    0,  0, -2,   4,  10,   4, -2,  0,  0,
    2,  2,  0, -10,  -8, -10,  0,  2,  2,
    2,  2,  0,  -4, -14,  -4,  0,  2,  2,
    6,  4,  0, -10, -12, -10,  0,  4,  6};

constexpr SquareTable ZeroTable = {};

// Red's table is green's turned upside down and negated.
constexpr SquareTable redTableOf(const SquareTable& green) {
  SquareTable red{};
  for (int row = 0; row < BoardRows; ++row)
    for (int column = 0; column < BoardColumns; ++column)
      red[squareOf(column, row)] = -green[squareOf(column, BoardRows - 1 - row)];
  return red;
}

constexpr SquareTable RedSoldierTable = redTableOf(GreenSoldierTable);
constexpr SquareTable RedChariotTable = redTableOf(GreenChariotTable);
constexpr SquareTable RedHorseTable = redTableOf(GreenHorseTable);
constexpr SquareTable RedCannonTable = redTableOf(GreenCannonTable);

// Table of every PieceType code 0..15 (0 and 8 are no piece and read the zero table).
constexpr const SquareTable* PieceSquareTables[16] = {
    &ZeroTable, &RedSoldierTable, &RedChariotTable, &RedHorseTable, &RedCannonTable,
    &ZeroTable, &ZeroTable, &ZeroTable,
    &ZeroTable, &GreenSoldierTable, &GreenChariotTable, &GreenHorseTable, &GreenCannonTable,
    &ZeroTable, &ZeroTable, &ZeroTable};

}  // namespace rq
