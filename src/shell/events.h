// Routing of window-system events to the shell and the game's input handlers.
#pragma once

union SDL_Event;

namespace rq {

struct Shell;

// Handles one event: the square rule, minimise and restore, close, keys and the
// left button and pointer in client pixels.
void RouteEvent(Shell& shell, const SDL_Event& event);

// The smallest side the window is let down to: below it the pieces are unreadable.
constexpr int kMinimumSide = 256;

// What a size change asks for: the side of the square picture, fitted into the client
// area at its top edge, and the side of the square client area to ask the window
// manager for (0: nothing to ask).
struct SizePlan {
  int pictureSide = 0;
  int requestSide = 0;
};

// The side follows the height, between kMinimumSide and `largestSide` (what the usable
// screen takes). Nothing is asked while the window manager decides the size itself
// (`managedSize`: maximised, full screen), nor again of a size it already kept once
// (`askedBefore`), so that a refusal never starts a storm of requests.
SizePlan PlanForSize(int width, int height, bool managedSize, int largestSide, bool askedBefore);

}  // namespace rq
