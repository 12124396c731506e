// One frame of the game's picture, drawn from the game application object.
#pragma once

#include <cstdint>

namespace rq {

struct GameApplication;

// The whole frame: clear, the computer's turn, every element, then the pause.
void DrawScene(GameApplication& app);

// Everything a frame shows, back to front: the projection, board, captured pieces,
// pieces, markers, the dragged piece, banner, crystal ball, the computer's move in
// flight and the command menu.
void DrawSceneElements(GameApplication& app);

// The pause that ends a frame: 15 ms while the user moves or a move is in flight,
// 100 ms while the computer thinks.
int32_t FramePauseMilliseconds(const GameApplication& app);

// How long the picture stays as it is at `now`: 0 while something moves (the computer
// thinking or moving, a fading menu, an announcement to come), the milliseconds to the
// next picture of the pulsing markers or to the generals' next blink, or -1 when only an
// event can change it.
int32_t PictureStillFor(GameApplication& app, int32_t now);

}  // namespace rq
