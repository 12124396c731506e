// Reading Windows cursor files: the committed one, generated ones of every depth,
// and damaged ones that must be refused rather than read out of bounds.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/cursor_file.h"

namespace rq {
namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A one-image cursor file. `colour` gives a pixel's stored value (palette index, or
// 0xAARRGGBB for 24 and 32 bits) at (x, y) with y from the top; `masked` its AND bit.
struct CurShape {
  uint16_t type = 2;
  int width = 4, height = 4, bits = 32;
  int hotX = 1, hotY = 2;
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  std::function<uint32_t(int, int)> colour = [](int, int) { return 0xFF102030u; };
  std::function<bool(int, int)> masked = [](int, int) { return false; };
};

std::vector<uint8_t> MakeCur(const CurShape& s) {
  std::vector<uint8_t> b;
  Put16(b, 0);
  Put16(b, s.type);
  Put16(b, 1);
  b.push_back(static_cast<uint8_t>(s.width));
  b.push_back(static_cast<uint8_t>(s.height));
  b.push_back(0);
  b.push_back(0);
  Put16(b, s.hotX);
  Put16(b, s.hotY);
  Put32(b, 0);  // size, filled below
  Put32(b, 22);
  Put32(b, 40);
  Put32(b, s.width);
  Put32(b, s.height * 2);
  Put16(b, 1);
  Put16(b, s.bits);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, static_cast<uint32_t>(s.palette.size()));
  Put32(b, 0);
  for (uint32_t c : s.palette) Put32(b, c);
  const size_t colourStride = (static_cast<size_t>(s.width) * s.bits + 31) / 32 * 4;
  const size_t maskStride = (static_cast<size_t>(s.width) + 31) / 32 * 4;
  for (int fileRow = 0; fileRow < s.height; ++fileRow) {
    const int y = s.height - 1 - fileRow;
    std::vector<uint8_t> row(colourStride, 0);
    for (int x = 0; x < s.width; ++x) {
      const uint32_t v = s.colour(x, y);
      if (s.bits == 32 || s.bits == 24) {
        const int n = s.bits / 8;
        for (int k = 0; k < n; ++k) row[x * n + k] = static_cast<uint8_t>(v >> (8 * k));
      } else if (s.bits == 8) {
        row[x] = static_cast<uint8_t>(v);
      } else if (s.bits == 4) {
        row[x / 2] |= static_cast<uint8_t>((v & 0xF) << (x % 2 ? 0 : 4));
      } else {
        row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8));
      }
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  for (int fileRow = 0; fileRow < s.height; ++fileRow) {
    const int y = s.height - 1 - fileRow;
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < s.width; ++x)
      if (s.masked(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    b.insert(b.end(), row.begin(), row.end());
  }
  const uint32_t size = static_cast<uint32_t>(b.size() - 22);
  for (int k = 0; k < 4; ++k) b[14 + k] = static_cast<uint8_t>(size >> (8 * k));
  return b;
}

struct Pixel {
  int x, y;
  uint8_t r, g, b, a;
};

TEST(CursorFile, DecodesEveryDepthWithItsMaskAndHotSpot) {
  const struct Case {
    const char* name;
    CurShape shape;
    int hotX, hotY;
    std::vector<Pixel> pixels;
  } cases[] = {
      {"32-bit with alpha: alpha as stored, mask ignored",
       CurShape{2, 3, 2, 32, 1, 1, {},
               [](int x, int y) { return x == 0 && y == 0 ? 0x80FF0000u : 0xFF00FF00u; },
               [](int, int) { return true; }},
       1, 1, {{0, 0, 255, 0, 0, 0x80}, {2, 1, 0, 255, 0, 255}}},
      {"32-bit without alpha: the mask decides",
       CurShape{2, 3, 2, 32, 0, 0, {}, [](int, int) { return 0x00112233u; },
               [](int x, int) { return x == 2; }},
       0, 0, {{0, 0, 0x11, 0x22, 0x33, 255}, {2, 0, 0, 0, 0, 255}, {2, 1, 0, 0, 0, 255}}},
      {"24-bit, rows padded, stored bottom-up",
       CurShape{2, 3, 2, 24, 2, 1, {}, [](int x, int y) { return y == 0 ? 0x0000FFu * (x + 1) / 3 : 0x00FF00u; },
               [](int x, int y) { return x == 1 && y == 1; }},
       2, 1, {{2, 0, 0, 0, 255, 255}, {0, 1, 0, 255, 0, 255}, {1, 1, 0, 0, 0, 255}}},
      {"1-bit: white shows, masked black is clear, masked white turns black",
       CurShape{2, 8, 2, 1, 0, 0, {0x000000u, 0xFFFFFFu},
               [](int x, int) { return x < 4 ? 1u : 0u; }, [](int x, int) { return x >= 2; }},
       0, 0, {{0, 0, 255, 255, 255, 255}, {3, 1, 0, 0, 0, 255}, {5, 0, 0, 0, 0, 0}}},
      {"4-bit palette", CurShape{2, 5, 1, 4, 0, 0, {0, 0x0000FFu, 0x00FF00u},
                                [](int x, int) { return static_cast<uint32_t>(x % 3); },
                                [](int, int) { return false; }},
       0, 0, {{1, 0, 0, 0, 255, 255}, {2, 0, 0, 255, 0, 255}, {3, 0, 0, 0, 0, 255}}},
      {"8-bit palette, an index past the palette reads black",
       CurShape{2, 2, 2, 8, 0, 0, {0xABCDEFu}, [](int x, int) { return x == 0 ? 0u : 200u; },
               [](int, int) { return false; }},
       0, 0, {{0, 1, 0xAB, 0xCD, 0xEF, 255}, {1, 1, 0, 0, 0, 255}}},
      {"a hot spot outside the image moves onto its edge",
       CurShape{2, 4, 4, 32, 40, 9}, 3, 3, {}},
      {"an icon's directory has no hot spot", CurShape{1, 4, 4, 32, 1, 32}, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> file = MakeCur(c.shape);
    CursorImage image;
    ASSERT_TRUE(DecodeCursor(file.data(), file.size(), image));
    EXPECT_EQ(image.width, c.shape.width);
    EXPECT_EQ(image.height, c.shape.height);
    EXPECT_EQ(image.hotX, c.hotX);
    EXPECT_EQ(image.hotY, c.hotY);
    ASSERT_EQ(image.rgba.size(), static_cast<size_t>(image.width * image.height * 4));
    for (const Pixel& p : c.pixels) {
      const uint8_t* got = &image.rgba[(static_cast<size_t>(p.y) * image.width + p.x) * 4];
      EXPECT_EQ(got[0], p.r) << p.x << "," << p.y;
      EXPECT_EQ(got[1], p.g) << p.x << "," << p.y;
      EXPECT_EQ(got[2], p.b) << p.x << "," << p.y;
      EXPECT_EQ(got[3], p.a) << p.x << "," << p.y;
    }
  }
}

TEST(CursorFile, RefusesDamagedFiles) {
  const std::vector<uint8_t> good = MakeCur(CurShape{});
  const struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
  } cases[] = {
      {"cut inside the pixels", [](std::vector<uint8_t>& b) { b.erase(b.end() - 5, b.end()); }},
      {"cut inside the header", [](std::vector<uint8_t>& b) { b.erase(b.begin() + 30, b.end()); }},
      {"only the directory", [](std::vector<uint8_t>& b) { b.erase(b.begin() + 6, b.end()); }},
      {"reserved word set", [](std::vector<uint8_t>& b) { b[0] = 1; }},
      {"not a cursor or icon", [](std::vector<uint8_t>& b) { b[2] = 3; }},
      {"no images", [](std::vector<uint8_t>& b) { b[4] = 0; }},
      {"image offset past the end", [](std::vector<uint8_t>& b) { b[18] = 0xFF; b[19] = 0xFF; }},
      {"header size past the end", [](std::vector<uint8_t>& b) { b[22 + 1] = 0x40; }},
      {"PNG image", [](std::vector<uint8_t>& b) { b[22] = 0x89; b[23] = 'P'; b[24] = 'N'; b[25] = 'G'; }},
      {"compressed bitmap", [](std::vector<uint8_t>& b) { b[22 + 16] = 1; }},
      {"width 0", [](std::vector<uint8_t>& b) { b[22 + 4] = 0; }},
      {"width 300", [](std::vector<uint8_t>& b) { b[22 + 4] = 0x2C; b[22 + 5] = 1; }},
      {"negative height", [](std::vector<uint8_t>& b) { b[22 + 11] = 0xFF; }},
      {"16 bits a pixel", [](std::vector<uint8_t>& b) { b[22 + 14] = 16; }},
      {"a palette of 300 colours", [](std::vector<uint8_t>& b) {
         b[22 + 14] = 8;
         b[22 + 32] = 0x2C;
         b[22 + 33] = 1;
       }},
  };
  CursorImage image;
  ASSERT_TRUE(DecodeCursor(good.data(), good.size(), image));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> file = good;
    c.damage(file);
    EXPECT_FALSE(DecodeCursor(file.data(), file.size(), image));
  }
  EXPECT_FALSE(DecodeCursor(nullptr, 100, image));
  EXPECT_FALSE(ReadCursorFile("/nonexistent/arrowcop.cur", image));
}

// The committed pointer: an arrow whose tip is the hot spot, on a clear ground.
TEST(CursorFile, ReadsTheGamesOwnCursor) {
  CursorImage image;
  ASSERT_TRUE(ReadCursorFile(RQ_REPO_ROOT "/arrowcop.cur", image));
  EXPECT_EQ(image.width, 32);
  EXPECT_EQ(image.height, 32);
  EXPECT_EQ(image.hotX, 1);
  EXPECT_EQ(image.hotY, 1);
  int opaque = 0;
  for (size_t i = 3; i < image.rgba.size(); i += 4) opaque += image.rgba[i] > 200;
  EXPECT_GT(opaque, 100);
  EXPECT_EQ(image.rgba[(0 * 32 + 31) * 4 + 3], 0) << "top right is clear";
  EXPECT_GT(image.rgba[(3 * 32 + 2) * 4 + 3], 200) << "the arrow starts at the top left";
}

}  // namespace
}  // namespace rq
