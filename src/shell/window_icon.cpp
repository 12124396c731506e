#include "shell/window_icon.h"

#include <SDL.h>

namespace rq {

namespace {

// The bytes of the BMP file, written out by the build.
const unsigned char kIconBmp[] = {
#include "ravenquill_icon_bytes.inc"
};

}  // namespace

SDL_Surface* LoadWindowIcon() {
  SDL_RWops* rw = SDL_RWFromConstMem(kIconBmp, sizeof kIconBmp);
  return rw != nullptr ? SDL_LoadBMP_RW(rw, 1) : nullptr;
}

}  // namespace rq
