// The transposition table: what earlier nodes learnt about a position, found again by its key.
#pragma once

#include <cstdint>
#include <memory>

#include "rules/game_record.h"

namespace rq {

// The key of the position on the record with `side` to move.
inline uint64_t PositionKey(const GameRecord& record, int side) {
  return record.hashKey ^ (side == Green ? Zobrist.greenToMove : 0);
}

enum Bound : uint8_t { NoBound = 0, UpperBound = 1, LowerBound = 2, ExactBound = 3 };

struct TableEntry {
  uint64_t key = 0;
  int32_t score = 0;
  uint8_t from = 0, to = 0;  // the best move; equal squares for none
  int8_t depth = 0;
  uint8_t boundAndAge = 0;   // bound in the low two bits, the search's age above

  Bound bound() const { return static_cast<Bound>(boundAndAge & 3); }
  bool hasMove() const { return from != to; }
};
static_assert(sizeof(TableEntry) == 16, "four entries share a cache line");

constexpr int DefaultTableBits = 20;  // 2^20 entries, 16 MiB

struct TranspositionTable {
  explicit TranspositionTable(int sizeBits = DefaultTableBits);
  TranspositionTable(const TranspositionTable&) = delete;
  TranspositionTable& operator=(const TranspositionTable&) = delete;

  // Forgets everything (the bench starts every position from nothing).
  void clear();
  // Marks the entries of earlier searches as old, so new ones may take their place.
  void newSearch();
  // The entry of `key`, if the table holds one.
  const TableEntry* probe(uint64_t key) const;
  // Keeps what a node found; a deeper entry of another position stays unless it is old.
  void store(uint64_t key, int depth, int32_t score, Bound bound, uint8_t from, uint8_t to);

  static constexpr int BucketSize = 4;
  std::unique_ptr<TableEntry[]> entries;
  uint64_t bucketMask = 0;
  uint8_t age = 0;
};

}  // namespace rq
