// A scene put together from the pictures the way the game draws them, to judge
// the artwork as a player sees it. Not written into the repository.
#pragma once

#include "canvas.h"

namespace rq::art {

Canvas ComposePreview(const Canvas& board, const Canvas& pieces, const Canvas& ball,
                      const Canvas& menu);

}  // namespace rq::art
