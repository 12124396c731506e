// The user's side of the game: board input, the command menu and keys, the dialogs,
// and the per-frame hand-over of the computer's move.
#pragma once

#include <cstdint>

namespace rq {

struct GameApplication;

// Pointer and button handlers; x, y in client pixels with y from the top.
void OnPointerMove(GameApplication& app, int32_t x, int32_t y);
void OnButtonDown(GameApplication& app, int32_t x, int32_t y);
void OnButtonUp(GameApplication& app, int32_t x, int32_t y);

// Key handler; `key` is the Windows virtual-key code (letters 0x41..0x5A, Escape 0x1B).
void OnKeyDown(GameApplication& app, int32_t key);

// Called by the scene drawing once per frame, before anything is drawn.
void UpdateComputerTurn(GameApplication& app);

// Shows the pending end-of-game announcements, each once. Called by the main loop after
// the buffer swap, so that the box opens over the frame that shows how the game ended.
void AnnounceEndOfGame(GameApplication& app);

// The pointer has left the window: the markers of the piece it was over go.
void OnPointerLeave(GameApplication& app);

// Puts a held piece back on its square, so that nothing is lost when the game is
// saved mid-drag (at exit).
void EndDrag(GameApplication& app);

}  // namespace rq
