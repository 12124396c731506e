#include "player/transposition.h"

#include <algorithm>

namespace rq {
namespace {

constexpr uint8_t AgeStep = 4;  // the age lives above the two bound bits

}  // namespace

TranspositionTable::TranspositionTable(int sizeBits)
    : entries(new TableEntry[size_t(1) << sizeBits]), bucketMask((uint64_t(1) << sizeBits) / BucketSize - 1) {}

void TranspositionTable::clear() {
  std::fill(entries.get(), entries.get() + (bucketMask + 1) * BucketSize, TableEntry());
  age = 0;
}

void TranspositionTable::newSearch() { age = static_cast<uint8_t>(age + AgeStep); }

const TableEntry* TranspositionTable::probe(uint64_t key) const {
  const TableEntry* bucket = &entries[(key & bucketMask) * BucketSize];
  for (int i = 0; i < BucketSize; ++i)
    if (bucket[i].key == key && bucket[i].bound() != NoBound) return &bucket[i];
  return nullptr;
}

void TranspositionTable::store(uint64_t key, int depth, int32_t score, Bound bound, uint8_t from, uint8_t to) {
  TableEntry* bucket = &entries[(key & bucketMask) * BucketSize];
  TableEntry* slot = nullptr;
  for (int i = 0; i < BucketSize && !slot; ++i)
    if (bucket[i].key == key || bucket[i].bound() == NoBound) slot = &bucket[i];
  if (!slot) {
    // The shallowest entry goes, and an old one before a current one of the same depth.
    auto worth = [this](const TableEntry& e) {
      const int staleness = static_cast<uint8_t>(age - (e.boundAndAge & ~3)) / AgeStep;
      return e.depth - 8 * staleness;
    };
    slot = bucket;
    for (int i = 1; i < BucketSize; ++i)
      if (worth(bucket[i]) < worth(*slot)) slot = &bucket[i];
  } else if (slot->key == key && from == to) {
    // A node that found no move keeps the move an earlier search found.
    from = slot->from;
    to = slot->to;
  }
  slot->key = key;
  slot->score = score;
  slot->from = from;
  slot->to = to;
  slot->depth = static_cast<int8_t>(std::clamp(depth, -128, 127));
  slot->boundAndAge = static_cast<uint8_t>(bound | age);
}

}  // namespace rq
