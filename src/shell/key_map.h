// SDL keys in the terms the game's handlers use: Windows virtual-key codes.
#pragma once

#include <cstdint>

namespace rq {

constexpr int kVkEscape = 0x1B;

// The virtual-key code of an SDL key code; 0 for a key that has none.
int VirtualKeyOf(int32_t sdlKey);

// A key that Windows would hand to the system rather than the window: anything
// with Alt held, Alt itself and F10.
bool IsSystemKey(int32_t sdlKey, uint16_t modifiers);

}  // namespace rq
