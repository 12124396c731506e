#include "shell/key_map.h"

#include <SDL_keyboard.h>

namespace rq {

int VirtualKeyOf(int32_t key) {
  if (key >= SDLK_a && key <= SDLK_z) return 0x41 + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return 0x30 + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_TAB: return 0x09;
    case SDLK_RETURN: case SDLK_KP_ENTER: return 0x0D;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL: case SDLK_RCTRL: return 0x11;
    case SDLK_LALT: case SDLK_RALT: return 0x12;
    case SDLK_PAUSE: return 0x13;
    case SDLK_CAPSLOCK: return 0x14;
    case SDLK_ESCAPE: return kVkEscape;
    case SDLK_SPACE: return 0x20;
    case SDLK_PAGEUP: return 0x21;
    case SDLK_PAGEDOWN: return 0x22;
    case SDLK_END: return 0x23;
    case SDLK_HOME: return 0x24;
    case SDLK_LEFT: return 0x25;
    case SDLK_UP: return 0x26;
    case SDLK_RIGHT: return 0x27;
    case SDLK_DOWN: return 0x28;
    case SDLK_INSERT: return 0x2D;
    case SDLK_DELETE: return 0x2E;
    case SDLK_KP_0: return 0x60;
    case SDLK_KP_MULTIPLY: return 0x6A;
    case SDLK_KP_PLUS: return 0x6B;
    case SDLK_KP_MINUS: return 0x6D;
    case SDLK_KP_PERIOD: return 0x6E;
    case SDLK_KP_DIVIDE: return 0x6F;
    default: return 0;
  }
}

bool IsSystemKey(int32_t key, uint16_t modifiers) {
  return (modifiers & KMOD_ALT) != 0 || key == SDLK_LALT || key == SDLK_RALT || key == SDLK_F10;
}

}  // namespace rq
