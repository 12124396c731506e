#include "interaction/captured_pieces.h"

#include "game/game_application.h"

namespace rq {

// A side has 16 pieces, so a list that would grow past 16 has met a corrupted history.
void AddEatenPiece(GameApplication& app, const Move& move) {
  if (move.captured == 0) return;
  const bool green = (move.captured & GreenBit) != 0;
  uint8_t* list = green ? app.eatenGreen : app.eatenRed;
  int32_t& count = green ? app.eatenGreenCount : app.eatenRedCount;
  if (count < 0) count = 0;
  if (count >= EatenCapacity) return;
  list[count++] = move.captured;
}

// Counts loaded from a damaged file may be off; never go below empty.
void RemoveEatenPiece(GameApplication& app, uint8_t captured) {
  if (captured == 0) return;
  int32_t& count = (captured & GreenBit) ? app.eatenGreenCount : app.eatenRedCount;
  if (count > EatenCapacity) count = EatenCapacity;
  if (count > 0) --count;
}

}  // namespace rq
