// The texture table sends every image to GL with its rows intact, whatever its width
// (the committed ones are all a power of two wide), and an image that never loaded draws nothing.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "offscreen_gl.h"
#include "render/draw.h"
#include "render/textures.h"
#include "support/environment.h"

namespace rq {
namespace {

TEST(TextureTable, UploadsImagesOfAnyWidthRowForRowAndAMissingOneDrawsNothing) {
  OffscreenGl gl;
  RQ_REQUIRE_ENVIRONMENT(gl.Open(32, 32), gl.error);
  Textures().BuildTextureParamList();
  const std::string path = std::filesystem::temp_directory_path() / ("rq-tex-" + std::to_string(getpid()) + ".tga");
  const struct Case { int number, width, height, components; } cases[] = {  // 0 components: no such file
      {60, 3, 2, 3},
      {61, 3, 2, 4},
      {62, 7, 5, 3},
      {70, 20, 20, 0},
      {100, 20, 20, 0},
      {-1, 20, 20, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    TgaImage image{c.width, c.height, c.components, {}};
    for (int i = 0; i < c.width * c.height * c.components; ++i)
      image.pixels.push_back(c.components == 4 && i % 4 == 3 ? 255 : 40 + i * 7 % 200);
    ASSERT_EQ(WriteTgaImage(path.c_str(), image), c.components > 0);
    ASSERT_EQ(Textures().LoadTgaTexture(c.components ? path.c_str() : "/nonexistent.tga", c.number, false), c.components > 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 32, 32, 0, -1, 1);  // y down, as the picture's rows run
    glClearColor(0.2f, 0.4f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    Textures().SetTexturing();
    Textures().BindTexture(c.number);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);  // no mipmaps here
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawTexturedRect(4, 4, 0, 0, c.width, c.height, c.width, c.height);
    const Picture p = gl.ReadBack();
    for (int j = 0; j < c.height; ++j)
      for (int i = 0; i < c.width; ++i)
        for (int k = 0; k < 3; ++k) {
          const int want = c.components ? image.pixels[(j * c.width + i) * c.components + k] : 51 * (k + 1);
          ASSERT_NEAR(p.rgb[((4 + j) * 32 + 4 + i) * 3 + k], want, 1) << i << "," << j;
        }
  }
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace rq
