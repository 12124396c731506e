// The game record window's side of the game: the moves as rows of both notations, kept
// up to date by the interface thread, and the game's PGN for the window's buttons.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "rules/types.h"

namespace rq {

struct GameApplication;

// What the window shows, copied from the record whenever the interface thread changed it,
// so that the window never reads the record while the computer searches on it.
struct MoveRecordView {
  bool open = false;
  int32_t played = 0;  // moves on the board
  int32_t plies = 0;   // moves recorded, those redo could bring back included
  uint8_t from[HistoryCapacity] = {};
  uint8_t to[HistoryCapacity] = {};
  MoveListRow rows[MoveListCapacity];
  int32_t rowCount = 0;
};

// Copies the record's moves into the view and the open window. Called where the
// interface thread has just changed the record and still holds it (under the lock,
// before any search is asked for).
void PublishMoveRecord(GameApplication& app);

// Opens the window, or closes it when it is open.
void ToggleMoveRecord(GameApplication& app);

// Answers what the user asked of the window: closing it, copying or saving the PGN.
void ServeMoveRecord(GameApplication& app);

// The game as it stands as PGN, by the exporter's writer.
std::string MoveRecordPgn(GameApplication& app);

}  // namespace rq
