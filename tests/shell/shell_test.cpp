// The shell's headless parts: event routing, virtual keys, the square rule, the start
// size and the built-in icon.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "game/game_application.h"
#include "player/game_lock.h"
#include "shell/events.h"
#include "shell/key_map.h"
#include "shell/start_size.h"
#include "shell/window.h"
#include "shell/window_icon.h"
#include "support/fake_platform.h"

namespace rq {
namespace {

SDL_Event Ev(Uint32 type, int what, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = type;
  if (type == SDL_WINDOWEVENT) e.window.event = static_cast<Uint8>(what);
  else e.key.keysym.sym = what, e.key.keysym.mod = mod;
  return e;
}

TEST(Shell, EventsDriveTheLoopsStateAndTheKeyTable) {
  char dir[] = "/tmp/rq-routing-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  const std::string lock = "RavenquillRoutingTest" + std::to_string(getpid());
  {
    test::FakePlatform platform;
    GameApplication app(platform, lock.c_str());
    const struct {
      const char* name;
      std::vector<SDL_Event> events;
      bool active, quit, escapeHeld, escapeLatched, qHeld;
    } cases[] = {
        {"minimised: no frames", {Ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED)}, false, false, false, false, false},
        {"restored", {Ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED), Ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED)}, true, false, false, false, false},
        {"focus lost: drawing goes on", {Ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST)}, true, false, false, false, false},
        {"the close box", {Ev(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE)}, true, true, false, false, false},
        {"a quit request", {SDL_Event{SDL_QUIT}}, true, true, false, false, false},
        {"Escape held", {Ev(SDL_KEYDOWN, SDLK_ESCAPE)}, true, false, true, true, false},
        {"Escape tapped between frames", {Ev(SDL_KEYDOWN, SDLK_ESCAPE), Ev(SDL_KEYUP, SDLK_ESCAPE)}, true, false, false, true, false},
        {"a letter down and up", {Ev(SDL_KEYDOWN, SDLK_q), Ev(SDL_KEYUP, SDLK_q)}, true, false, false, false, false},
        {"a letter held with Shift", {Ev(SDL_KEYDOWN, SDLK_q, KMOD_LSHIFT)}, true, false, false, false, true},
        {"Alt with a letter is the system's", {Ev(SDL_KEYDOWN, SDLK_q, KMOD_LALT)}, true, false, false, false, false},
        {"Alt with Escape too", {Ev(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_RALT)}, true, false, false, false, false},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      Shell shell{nullptr, &app};
      for (const SDL_Event& e : c.events) RouteEvent(shell, e);
      EXPECT_EQ(shell.windowActive, c.active);
      EXPECT_EQ(shell.quit, c.quit);
      EXPECT_EQ(shell.keyDownTable[0x1B], c.escapeHeld);
      EXPECT_EQ(shell.escapePressed, c.escapeLatched);
      EXPECT_EQ(shell.keyDownTable[0x51], c.qHeld);
    }
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
  std::filesystem::remove(GameLock::LockFilePath(lock.c_str()));
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
