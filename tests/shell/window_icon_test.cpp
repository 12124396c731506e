// The icon built into the program: a red general on a clear ground.
#include <SDL.h>
#include <gtest/gtest.h>

#include "shell/window_icon.h"

namespace rq {
namespace {

TEST(WindowIcon, IsTheRedGeneralOnAClearGround) {
  SDL_Surface* icon = LoadWindowIcon();
  ASSERT_NE(icon, nullptr) << SDL_GetError();
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(icon, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(icon);
  ASSERT_NE(rgba, nullptr);
  EXPECT_EQ(rgba->w, 64);
  EXPECT_EQ(rgba->h, 64);
  const struct Case {
    const char* name;
    int x, y;
    bool opaque;
  } cases[] = {
      {"top left corner", 0, 0, false}, {"bottom right corner", 63, 63, false},
      {"disc left of centre", 20, 32, true}, {"disc below centre", 32, 50, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const uint8_t* p = static_cast<const uint8_t*>(rgba->pixels) + c.y * rgba->pitch + c.x * 4;
    if (c.opaque)
      EXPECT_EQ(p[3], 255);
    else
      EXPECT_EQ(p[3], 0);
  }
  // Somewhere on the disc is the red of the character.
  int red = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const uint8_t* p = static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch + x * 4;
      red += p[3] == 255 && p[0] > 120 && p[0] - p[1] > 80;
    }
  EXPECT_GT(red, 40);
  SDL_FreeSurface(rgba);
}

}  // namespace
}  // namespace rq
