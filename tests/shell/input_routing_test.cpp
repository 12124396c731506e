// Keys in virtual-key codes, and what a size change asks of the window.
#include <SDL_keyboard.h>
#include <gtest/gtest.h>

#include "shell/events.h"
#include "shell/key_map.h"

namespace rq {
namespace {

TEST(KeyMap, GivesTheVirtualKeyCodesTheGameExpects) {
  const struct Case {
    int32_t key;
    int vk;
  } cases[] = {
      {SDLK_a, 0x41},      {SDLK_n, 0x4E},       {SDLK_s, 0x53},     {SDLK_y, 0x59},
      {SDLK_z, 0x5A},      {SDLK_ESCAPE, 0x1B},  {SDLK_0, 0x30},     {SDLK_9, 0x39},
      {SDLK_F1, 0x70},     {SDLK_F12, 0x7B},     {SDLK_RETURN, 0x0D}, {SDLK_SPACE, 0x20},
      {SDLK_LEFT, 0x25},   {SDLK_DOWN, 0x28},    {SDLK_LSHIFT, 0x10}, {SDLK_RCTRL, 0x11},
      {SDLK_KP_0, 0x60},   {SDLK_KP_9, 0x69},    {SDLK_DELETE, 0x2E}, {SDLK_BACKSPACE, 0x08},
      {SDLK_CAPSLOCK, 0x14}, {SDLK_MENU, 0},     {SDLK_AUDIOPLAY, 0}, {0x20AC, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(VirtualKeyOf(c.key), c.vk);
  }
}

TEST(KeyMap, KeysWithAltBelongToTheSystem) {
  const struct Case {
    int32_t key;
    uint16_t mod;
    bool system;
  } cases[] = {
      {SDLK_z, KMOD_NONE, false}, {SDLK_z, KMOD_LSHIFT, false}, {SDLK_z, KMOD_LALT, true},
      {SDLK_F4, KMOD_RALT, true}, {SDLK_F10, KMOD_NONE, true},  {SDLK_LALT, KMOD_NONE, true},
      {SDLK_ESCAPE, KMOD_CAPS, false}, {SDLK_n, KMOD_NUM, false}, {SDLK_s, KMOD_LCTRL, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.key) + " mod " + std::to_string(c.mod));
    EXPECT_EQ(IsSystemKey(c.key, c.mod), c.system);
  }
}

TEST(SizeRule, KeepsTheClientAreaSquare) {
  const struct Case {
    const char* name;
    int width, height;
    bool managed;
    bool askedBefore;
    int picture, request;
  } cases[] = {
      {"square", 700, 700, false, false, 700, 0},
      {"minimised to nothing counts as square", 0, 0, false, false, 0, 0},
      {"wider than tall", 800, 700, false, false, 700, 700},
      {"taller than wide", 600, 900, false, false, 600, 900},
      {"right edge dragged on after a granted request", 761, 949, false, false, 761, 949},
      {"maximised", 1280, 994, true, false, 994, 0},
      {"a size the window manager kept once", 800, 700, false, true, 700, 0},
      {"taller than the screen takes", 2000, 2000, false, false, 2000, 999},
      {"a single pixel", 1, 1, false, false, 1, kMinimumSide},
      {"dragged narrow and low", 300, 100, false, false, 100, kMinimumSide},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SizePlan plan = PlanForSize(c.width, c.height, c.managed, 999, c.askedBefore);
    EXPECT_EQ(plan.pictureSide, c.picture);
    EXPECT_EQ(plan.requestSide, c.request);
  }
}

}  // namespace
}  // namespace rq
