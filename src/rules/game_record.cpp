#include "rules/game_record.h"

#include <cstring>
#include <ctime>

#include "rules/evaluation.h"

namespace rq {

const uint8_t StartSquares[BoardSquares] = {
    0x26, 0x28, 0x2E, 0x2C, 0x30, 0x2D, 0x2F, 0x29, 0x27,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0x2A, 0, 0, 0, 0, 0, 0x2B, 0,
    0x21, 0, 0x22, 0, 0x23, 0, 0x24, 0, 0x25,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0x41, 0, 0x42, 0, 0x43, 0, 0x44, 0, 0x45,
    0, 0x4A, 0, 0, 0, 0, 0, 0x4B, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0,
    0x46, 0x48, 0x4E, 0x4C, 0x50, 0x4D, 0x4F, 0x49, 0x47};

GameRecord::GameRecord() {
  for (int kind = 0; kind < 8; ++kind) materialValue[kind] = MaterialValue[kind];
  for (int type = 0; type < 16; ++type) pieceSquareTable[type] = PieceSquareTables[type]->data();
  for (int side = 0; side < 2; ++side)
    for (int index = 1; index <= PiecesPerSide; ++index)
      pieceType[side][index - 1] = static_cast<uint8_t>(kindOfIndex(index) | (side == Green ? GreenTypeBit : 0));
  seedRandom(static_cast<uint32_t>(std::time(nullptr)));
  shufflePieceOrder();
  newGame();
}

// Start position with an empty history.
void GameRecord::newGame() {
  endPly = NoEndPly;
  moveCount = 0;
  recordedMoves = 0;
  historyOverflowed = false;
  historyDetached = false;
  recentMoves = 0;
  std::memcpy(position.squares, StartSquares, BoardSquares);
  std::memcpy(startSquares, StartSquares, BoardSquares);
  startSide = Red;
  position.boardValue = 0;
  position.boardExtraValue = 0;
  rebuildPieceLists();
}

// Derives both piece lists from the squares; pieces not on the board read as taken.
void GameRecord::rebuildPieceLists() {
  for (int side = 0; side < 2; ++side) {
    pieceSquare[side][0] = 0;
    for (int index = 1; index <= PiecesPerSide; ++index) pieceSquare[side][index] = CapturedMark;
  }
  for (int square = 0; square < BoardSquares; ++square) {
    uint8_t code = position.squares[square];
    if (code != 0) pieceSquare[sideOfCode(code)][code & IndexMask] = static_cast<uint8_t>(square);
  }
}

void GameRecord::copyGameFrom(const GameRecord& other) {
  position = other.position;
  std::memcpy(pieceSquare, other.pieceSquare, sizeof pieceSquare);
  std::memcpy(pieceType, other.pieceType, sizeof pieceType);
  const int32_t count = other.moveCount < 0 ? 0 : other.moveCount > HistoryCapacity ? HistoryCapacity : other.moveCount;
  std::memcpy(history, other.history, sizeof(HistoryEntry) * static_cast<size_t>(count));
  moveCount = count;
  recordedMoves = count;
  endPly = other.endPly;
  historyOverflowed = other.historyOverflowed;
  std::memcpy(startSquares, other.startSquares, BoardSquares);
  startSide = other.startSide;
  fullCheckDepth = other.fullCheckDepth;
}

bool GameRecord::startsAtOpening() const {
  return startSide == Red && std::memcmp(startSquares, StartSquares, BoardSquares) == 0;
}

void GameRecord::seedRandom(uint32_t seed) { random.seed(seed); }

// The search's piece order: general, chariots, cannons, horses, advisors,
// elephants, soldiers, each pair (and the soldier group) shuffled by one draw.
void GameRecord::shufflePieceOrder() {
  static const int32_t pairs[5][2] = {{6, 7}, {10, 11}, {8, 9}, {12, 13}, {14, 15}};
  int k = 0;
  pieceOrder[k++] = GeneralIndex;
  for (const auto& pair : pairs) {
    bool keep = (random() & 1) != 0;
    pieceOrder[k++] = keep ? pair[0] : pair[1];
    pieceOrder[k++] = keep ? pair[1] : pair[0];
  }
  pieceOrder[k++] = 3;
  static const int32_t oddSoldiers[4] = {2, 4, 1, 5};
  static const int32_t evenSoldiers[4] = {4, 2, 5, 1};
  const int32_t* soldiers = (random() & 1) ? oddSoldiers : evenSoldiers;
  for (int i = 0; i < 4; ++i) pieceOrder[k++] = soldiers[i];
}

}  // namespace rq
