// The window icon, built into the program from resources/ravenquill-icon.bmp.
#pragma once

struct SDL_Surface;

namespace rq {

// A new surface with the icon; null when it cannot be made.
SDL_Surface* LoadWindowIcon();

}  // namespace rq
