// Routing of window-system events to the shell and the game's input handlers.
#pragma once

union SDL_Event;

namespace rq {

struct Shell;

// Handles one event: the square rule, minimise and restore, close, keys and the
// left button and pointer in client pixels.
void RouteEvent(Shell& shell, const SDL_Event& event);

// What a size change asks for: nothing to do but set the viewport (square), a
// request for a square window, or fitting the picture into a size the window
// manager insists on (maximised, or a square request refused).
enum class SizeAction { Viewport, RequestSquare, FitSquare };
SizeAction ActionForSize(int width, int height, bool managedSize, int requestedSide);

}  // namespace rq
