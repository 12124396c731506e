// Setting up a position (key E): pieces dragged on the board, off it, and from a tray of
// every kind beside it; Return checks the position and starts a game from it, Escape
// leaves with the game as it was.
#pragma once

#include <cstdint>

#include "rules/types.h"

#include "interaction/board_picking.h"

namespace rq {

struct GameApplication;

// The editor's keys besides Return and Escape.
constexpr int32_t KeySetUp = 'E';
constexpr int32_t KeyEmptyBoard = 'C';
constexpr int32_t KeyOpeningPosition = 'O';
constexpr int32_t KeySideToMove = 'T';
constexpr int32_t KeyReturn = 0x0D;
constexpr int32_t KeyEscape = 0x1B;

// The tray: a column of each side's seven kinds, green's left of the board and red's right.
constexpr int TrayKinds = 7;
// Centre of the tray's piece of `side` and `kind` (1..7), scene units with y down.
ScenePoint TrayCentre(int side, int kind);

// The code of a piece of the side and kind not on the board, or 0 when all of them are.
uint8_t FreePiece(const uint8_t* squares, int side, int kind);

// Opens the editor on the position of the board and its side to move; on the player's
// turn or after the end only.
void EnterEditor(GameApplication& app);

// A key while the editor is open: Return, Escape, C, O and T.
void EditorKey(GameApplication& app, int32_t key);

// The pointer while the editor is open; client pixels, y from the top.
void EditorButtonDown(GameApplication& app, int32_t x, int32_t y);
void EditorButtonUp(GameApplication& app, int32_t x, int32_t y);

}  // namespace rq
