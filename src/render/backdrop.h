// The backdrop of a frame: the board picture, the captured pieces and the pieces on the
// board, which stay as they are while the markers pulse, a piece is dragged or the
// computer's piece flies. It is kept as a copy and laid back in one quad while unchanged.
#pragma once

namespace rq {

struct GameApplication;

// Draws the backdrop: from the kept copy when it would come out the same, else anew.
void DrawBackdrop(GameApplication& app);

// Whether the last backdrop drawn was laid back from the kept copy.
bool BackdropWasKept();

// Lets the kept copy go, so that the next frames draw the backdrop anew: for a window
// whose pixels may have been lost, and before the GL context goes.
void ForgetBackdrop();

}  // namespace rq
