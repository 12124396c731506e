// The texture table sends every image to GL with its rows intact, whatever its width,
// and an image that never loaded draws nothing.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "offscreen_gl.h"
#include "render/draw.h"
#include "render/textures.h"

namespace rq::test {
namespace {

// An uncompressed TGA of `depth` bits, rows bottom-up; pixel (i, j) gets a colour of its own.
std::vector<uint8_t> Pixels(int w, int h, int components) {
  std::vector<uint8_t> px(static_cast<size_t>(w) * h * components);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      for (int k = 0; k < components; ++k)
        px[(static_cast<size_t>(j) * w + i) * components + k] =
            static_cast<uint8_t>(k == 3 ? 255 : 40 + 50 * i + 30 * j + 70 * k);
  return px;
}

bool WriteFileTga(const std::string& path, int w, int h, int components,
                  const std::vector<uint8_t>& rgb) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  uint8_t header[18] = {};
  header[2] = components == 1 ? 3 : 2;
  header[12] = static_cast<uint8_t>(w);
  header[14] = static_cast<uint8_t>(h);
  header[16] = static_cast<uint8_t>(components * 8);
  std::fwrite(header, 1, 18, f);
  for (size_t p = 0; p < rgb.size(); p += components) {
    uint8_t bgr[4] = {rgb[p], 0, 0, 0};
    if (components >= 3) {
      bgr[0] = rgb[p + 2];
      bgr[1] = rgb[p + 1];
      bgr[2] = rgb[p];
      if (components == 4) bgr[3] = rgb[p + 3];
    }
    std::fwrite(bgr, 1, components, f);
  }
  return std::fclose(f) == 0;
}

TEST(TextureTable, UploadsImagesOfAnyWidthRowForRow) {
  OffscreenGl gl;
  if (!gl.Open(64, 64)) GTEST_SKIP() << gl.error;
  char dir[] = "/tmp/rq-tex-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  TextureTable& table = Textures();
  table.BuildTextureParamList();

  const struct Case {
    const char* name;
    int width, height, components;
  } cases[] = {
      {"rgb, 3 wide", 3, 2, 3},  {"rgba, 3 wide", 3, 2, 4}, {"grey, 5 wide", 5, 3, 1},
      {"rgb, 7 wide", 7, 5, 3},  {"rgb, 4 wide", 4, 4, 3},
  };
  int number = 60;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = std::string(dir) + "/t" + std::to_string(number) + ".tga";
    const std::vector<uint8_t> px = Pixels(c.width, c.height, c.components);
    ASSERT_TRUE(WriteFileTga(path, c.width, c.height, c.components, px));
    ASSERT_TRUE(table.LoadTgaTexture(path.c_str(), number, false));

    glViewport(0, 0, 64, 64);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 64, 0, 64, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    table.SetTexturing();
    table.BindTexture(number);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glColor4d(1, 1, 1, 1);
    DrawTexturedRect(10, 10, 0, 0, c.width, c.height, c.width, c.height);
    gl.ReadBack();
    for (int j = 0; j < c.height; ++j)
      for (int i = 0; i < c.width; ++i) {
        const uint8_t* p = &px[(static_cast<size_t>(j) * c.width + i) * c.components];
        const Rgb got = gl.At(10 + i, 10 + j);
        const Rgb want = c.components == 1 ? Rgb{p[0], p[0], p[0]} : Rgb{p[0], p[1], p[2]};
        EXPECT_EQ(got.r, want.r) << i << "," << j;
        EXPECT_EQ(got.g, want.g) << i << "," << j;
        EXPECT_EQ(got.b, want.b) << i << "," << j;
      }
    std::remove(path.c_str());
    ++number;
  }
  rmdir(dir);
}

TEST(TextureTable, AMissingImageLeavesItsSlotEmptyAndDrawsNothing) {
  OffscreenGl gl;
  if (!gl.Open(32, 32)) GTEST_SKIP() << gl.error;
  TextureTable& table = Textures();
  table.BuildTextureParamList();
  const struct Case {
    const char* name;
    int number;
  } cases[] = {{"missing file", 70}, {"number out of range", 100}, {"negative number", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(table.LoadTgaTexture("/nonexistent/Board.tga", c.number, true));
    if (c.number >= 0 && c.number < kTextureSlots) {
      EXPECT_FALSE(table.slots[c.number].loaded);
    }
    glViewport(0, 0, 32, 32);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 32, 0, 32, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.2f, 0.4f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    table.SetTexturing();
    table.BindTexture(c.number);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4d(1, 1, 1, 1);
    DrawTexturedRect(4, 4, 0, 0, 20, 20, 20, 20);
    gl.ReadBack();
    const Rgb got = gl.At(12, 12);
    EXPECT_NEAR(got.r, 51, 1);
    EXPECT_NEAR(got.g, 102, 1);
    EXPECT_NEAR(got.b, 153, 1);
  }
}

}  // namespace
}  // namespace rq::test
