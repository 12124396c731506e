// What window-system events do to the shell: minimise and restore, close, and the
// key-down table with its Escape latch.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/game_application.h"
#include "player/game_lock.h"
#include "shell/events.h"
#include "shell/window.h"
#include "support/fake_platform.h"

namespace rq {
namespace {

SDL_Event WindowEvent(Uint8 kind) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = kind;
  return e;
}

SDL_Event KeyEvent(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = key;
  e.key.keysym.mod = mod;
  return e;
}

TEST(EventRouting, DrivesTheLoopsStateAndTheKeyTable) {
  char dir[] = "/tmp/rq-routing-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  const std::string lockName = "RavenquillRoutingTest" + std::to_string(getpid());
  {
    test::FakePlatform platform;
    GameApplication app(platform, lockName.c_str());
    const struct Case {
      const char* name;
      std::vector<SDL_Event> events;
      std::function<void(const Shell&)> check;
    } cases[] = {
        {"minimised: no frames", {WindowEvent(SDL_WINDOWEVENT_MINIMIZED)},
         [](const Shell& s) { EXPECT_FALSE(s.windowActive); }},
        {"restored: frames again",
         {WindowEvent(SDL_WINDOWEVENT_MINIMIZED), WindowEvent(SDL_WINDOWEVENT_RESTORED)},
         [](const Shell& s) { EXPECT_TRUE(s.windowActive); }},
        {"losing the focus does not stop drawing", {WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST)},
         [](const Shell& s) { EXPECT_TRUE(s.windowActive); }},
        {"the close box ends the loop", {WindowEvent(SDL_WINDOWEVENT_CLOSE)},
         [](const Shell& s) { EXPECT_TRUE(s.quit); }},
        {"a quit request ends the loop", {SDL_Event{SDL_QUIT}},
         [](const Shell& s) { EXPECT_TRUE(s.quit); }},
        {"Escape held", {KeyEvent(SDL_KEYDOWN, SDLK_ESCAPE)},
         [](const Shell& s) { EXPECT_TRUE(s.keyDownTable[0x1B]); }},
        {"Escape tapped between two frames still ends the loop",
         {KeyEvent(SDL_KEYDOWN, SDLK_ESCAPE), KeyEvent(SDL_KEYUP, SDLK_ESCAPE)},
         [](const Shell& s) {
           EXPECT_FALSE(s.keyDownTable[0x1B]);
           EXPECT_TRUE(s.escapePressed);
         }},
        {"a letter down and up", {KeyEvent(SDL_KEYDOWN, SDLK_q), KeyEvent(SDL_KEYUP, SDLK_q)},
         [](const Shell& s) { EXPECT_FALSE(s.keyDownTable[0x51]); }},
        {"a letter held, with Shift", {KeyEvent(SDL_KEYDOWN, SDLK_q, KMOD_LSHIFT)},
         [](const Shell& s) { EXPECT_TRUE(s.keyDownTable[0x51]); }},
        {"Alt with a letter belongs to the system", {KeyEvent(SDL_KEYDOWN, SDLK_q, KMOD_LALT)},
         [](const Shell& s) { EXPECT_FALSE(s.keyDownTable[0x51]); }},
        {"Alt with Escape neither ends the loop", {KeyEvent(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_RALT)},
         [](const Shell& s) {
           EXPECT_FALSE(s.keyDownTable[0x1B]);
           EXPECT_FALSE(s.escapePressed);
         }},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      Shell shell;
      shell.app = &app;
      for (const SDL_Event& e : c.events) RouteEvent(shell, e);
      c.check(shell);
    }
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
  std::filesystem::remove(GameLock::LockFilePath(lockName.c_str()));
}

}  // namespace
}  // namespace rq
