// The shell's headless parts: event routing, virtual keys, the square rule, the start
// size and the built-in icon.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/game_application.h"
#include "shell/events.h"
#include "shell/key_map.h"
#include "shell/start_size.h"
#include "shell/window.h"
#include "shell/window_icon.h"
#include "support/fake_platform.h"
#include "support/scratch.h"

namespace rq {
namespace {

// Window, key, pointer and button events each as the main loop sees them, routed to a
// hidden window of SDL's dummy video driver.
TEST(Shell, EventsDriveTheLoopsStateAndTheKeyTable) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("routing", 0, 0, 400, 300, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  // `what`: the window event, the key or the x; `mod`: the key's modifiers or the button.
  const auto ev = [id = SDL_GetWindowID(window)](Uint32 type, int what, Uint16 mod = KMOD_NONE, int y = 0) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_WINDOWEVENT) {
      e.window.windowID = id;
      e.window.event = static_cast<Uint8>(what);
    } else if (type == SDL_MOUSEMOTION) {
      e.motion.x = what;
      e.motion.y = y;
    } else if (type != SDL_KEYDOWN && type != SDL_KEYUP) {
      e.button.button = static_cast<Uint8>(mod);
      e.button.x = what;
      e.button.y = y;
    } else {
      e.key.keysym.sym = what;
      e.key.keysym.mod = mod;
    }
    return e;
  };
  test::ScratchDirectory dir;
  test::FakePlatform platform;
  GameApplication app(platform);
  const struct {
    const char* name;
    std::vector<SDL_Event> events;
    bool active, quit, escapeHeld, escapeLatched, qHeld;
    int pointerX = -7;  // -7: no pointer position reached the game
    bool pressed = false;
  } cases[] = {
      {"minimised: no frames", {ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED)}, false, false, false, false, false},
      {"restored",
       {ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED), ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED)},
       true, false, false, false, false},
      {"focus lost: drawing goes on", {ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST)}, true, false, false, false, false},
      {"the close box", {ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE)}, true, true, false, false, false},
      {"a quit request", {SDL_Event{SDL_QUIT}}, true, true, false, false, false},
      {"Escape held", {ev(SDL_KEYDOWN, SDLK_ESCAPE)}, true, false, true, true, false},
      {"Escape tapped between frames", {ev(SDL_KEYDOWN, SDLK_ESCAPE), ev(SDL_KEYUP, SDLK_ESCAPE)}, true, false, false, true, false},
      {"a letter down and up", {ev(SDL_KEYDOWN, SDLK_q), ev(SDL_KEYUP, SDLK_q)}, true, false, false, false, false},
      {"a letter held with Shift", {ev(SDL_KEYDOWN, SDLK_q, KMOD_LSHIFT)}, true, false, false, false, true},
      {"Alt with a letter is the system's", {ev(SDL_KEYDOWN, SDLK_q, KMOD_LALT)}, true, false, false, false, false},
      {"Alt with Escape too", {ev(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_RALT)}, true, false, false, false, false},
      {"the pointer on the last pixels", {ev(SDL_MOUSEMOTION, 0, 0, 299), ev(SDL_MOUSEMOTION, 399, 0, 0)},
       true, false, false, false, false, 399},
      {"the pointer past an edge",
       {ev(SDL_MOUSEMOTION, 400, 0, 5), ev(SDL_MOUSEMOTION, 5, 0, 300), ev(SDL_MOUSEMOTION, -1, 0, 5)},
       true, false, false, false, false},
      {"a press past the edge", {ev(SDL_MOUSEBUTTONDOWN, 5, SDL_BUTTON_LEFT, 300)}, true, false, false, false, false},
      {"a press on the last pixel", {ev(SDL_MOUSEBUTTONDOWN, 399, SDL_BUTTON_LEFT, 299)}, true, false, false, false, false, -7, true},
      {"a right press", {ev(SDL_MOUSEBUTTONDOWN, 9, SDL_BUTTON_RIGHT, 9)}, true, false, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Shell shell{nullptr, &app, window};
    app.pointerX = -7;
    app.buttonDown = false;
    for (const SDL_Event& e : c.events) RouteEvent(shell, e);
    EXPECT_EQ(shell.windowActive, c.active);
    EXPECT_EQ(shell.quit, c.quit);
    EXPECT_EQ(shell.keyDownTable[0x1B], c.escapeHeld);
    EXPECT_EQ(shell.escapePressed, c.escapeLatched);
    EXPECT_EQ(shell.keyDownTable[0x51], c.qHeld);
    EXPECT_EQ(app.pointerX, c.pointerX);
    EXPECT_EQ(app.buttonDown, c.pressed);
  }
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(Shell, KeysAsTheGameKnowsThem) {
  const struct { int32_t key; uint16_t mod; int vk; bool system; } cases[] = {
      {SDLK_a, 0, 0x41, false},       {SDLK_z, KMOD_LSHIFT, 0x5A, false}, {SDLK_z, KMOD_LALT, 0x5A, true},
      {SDLK_ESCAPE, KMOD_CAPS, 0x1B, false}, {SDLK_9, 0, 0x39, false}, {SDLK_F4, KMOD_RALT, 0x73, true},
      {SDLK_F10, 0, 0x79, true},      {SDLK_RETURN, 0, 0x0D, false},     {SDLK_LEFT, 0, 0x25, false},
      {SDLK_LALT, 0, 0x12, true},     {SDLK_KP_9, KMOD_NUM, 0x69, false}, {SDLK_s, KMOD_LCTRL, 0x53, false},
      {SDLK_BACKSPACE, 0, 0x08, false}, {SDLK_MENU, 0, 0, false},        {0x20AC, 0, 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VirtualKeyOf(c.key), c.vk) << c.key;
    EXPECT_EQ(IsSystemKey(c.key, c.mod), c.system) << c.key << " mod " << c.mod;
  }
}

TEST(Shell, SizesKeepTheClientAreaSquare) {
  const struct { const char* name; int width, height; bool managed, askedBefore; int picture, request; } cases[] = {
      {"square", 700, 700, false, false, 700, 0},
      {"minimised to nothing", 0, 0, false, false, 0, 0},
      {"wider than tall", 800, 700, false, false, 700, 700},
      {"taller than wide: the height decides", 600, 900, false, false, 600, 900},
      {"maximised: the window manager's size", 1280, 994, true, false, 994, 0},
      {"a size the window manager kept once", 800, 700, false, true, 700, 0},
      {"taller than the screen takes", 2000, 2000, false, false, 2000, 999},
      {"dragged narrow and low", 300, 100, false, false, 100, kMinimumSide},
  };
  for (const auto& c : cases) {
    const SizePlan plan = PlanForSize(c.width, c.height, c.managed, 999, c.askedBefore);
    EXPECT_EQ(plan.pictureSide * 10000 + plan.requestSide, c.picture * 10000 + c.request) << c.name;
  }
  const FrameMetrics windows{19, 1, 1};
  const struct { const char* name; int width, height; FrameMetrics frame; int side; } starts[] = {
      {"landscape, 994 tall", 1280, 994, windows, 955},
      {"landscape with room for 1024 and the frame", 1920, 1063, windows, 1024},
      {"portrait: only the width decides", 900, 1600, windows, 890},
      {"default frame on 1280x1024", 1280, 1024, FrameMetrics{}, 981},
      {"a work area smaller than its allowances", 40, 30, windows, 64},
      {"a thick frame told by the window manager", 1280, 1024, MetricsFromBorders(true, 34, 5, 6, 5), 926},
      {"a failed frame query keeps the default", 1280, 1024, MetricsFromBorders(true, -1, 0, 0, 0), 981},
  };
  for (const auto& c : starts) EXPECT_EQ(StartWindowSide(c.width, c.height, c.frame), c.side) << c.name;
}

TEST(Shell, IconIsTheRedGeneralOnAClearGround) {
  SDL_Surface* icon = LoadWindowIcon();
  ASSERT_NE(icon, nullptr) << SDL_GetError();
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(icon, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(icon);
  ASSERT_TRUE(rgba != nullptr && rgba->w == 64 && rgba->h == 64);
  const auto at = [&](int x, int y) { return static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch + x * 4; };
  EXPECT_EQ(at(0, 0)[3] + at(63, 63)[3], 0);
  EXPECT_EQ(at(20, 32)[3] + at(32, 50)[3], 2 * 255);
  EXPECT_TRUE(at(32, 32)[0] > 120 && at(32, 32)[0] - at(32, 32)[1] > 80) << "the character's red";
  SDL_FreeSurface(rgba);
}

}  // namespace
}  // namespace rq
