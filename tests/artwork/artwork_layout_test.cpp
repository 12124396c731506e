// The committed pictures must keep the layout the drawing code addresses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "render/tga.h"

namespace {

std::string RepoPath(const std::string& rel) { return std::string(RQ_REPO_ROOT) + "/" + rel; }

// Pixel access by (u, v), v counted from the first row in memory.
struct Image {
  rq::TgaImage img;
  bool ok = false;
  explicit Image(const std::string& rel) { ok = rq::ReadTgaImage(RepoPath(rel).c_str(), img); }
  const uint8_t* At(int u, int v) const {
    return &img.pixels[(static_cast<size_t>(v) * img.width + u) * img.components];
  }
  int Alpha(int u, int v) const { return img.components == 4 ? At(u, v)[3] : 255; }
  int Luma(int u, int v) const {
    const uint8_t* p = At(u, v);
    return (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
  }
  bool SamePixel(const Image& o, int u, int v, int ou, int ov) const {
    for (int k = 0; k < img.components; ++k)
      if (At(u, v)[k] != o.At(ou, ov)[k]) return false;
    return true;
  }
};

TEST(Artwork, TexturesHaveTheSizesTheDrawingUses) {
  struct Case {
    const char* file;
    int width, height, components;
  } cases[] = {
      {"Textures/Board.tga", 1024, 1024, 3},
      {"Textures/Pieces.tga", 512, 512, 4},
      {"Textures/CrystalBall.tga", 256, 128, 4},
      {"Textures/UI_UpAndDown.tga", 256, 1024, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Image im(c.file);
    EXPECT_TRUE(im.ok);
    EXPECT_EQ(im.img.width, c.width);
    EXPECT_EQ(im.img.height, c.height);
    EXPECT_EQ(im.img.components, c.components);
  }
}

enum class Sprite { RedPiece, GreenPiece, Shadow };

TEST(Artwork, PieceAtlasCellsHoldTheirSprites) {
  const struct Case {
    int i, j;
    Sprite kind;
  } cases[] = {
      {0, 0, Sprite::RedPiece},   {1, 0, Sprite::RedPiece},   {2, 0, Sprite::Shadow},
      {0, 1, Sprite::RedPiece},   {1, 1, Sprite::RedPiece},   {2, 1, Sprite::RedPiece},
      {3, 1, Sprite::RedPiece},   {0, 2, Sprite::GreenPiece}, {1, 2, Sprite::GreenPiece},
      {2, 2, Sprite::GreenPiece}, {3, 2, Sprite::RedPiece},   {0, 3, Sprite::GreenPiece},
      {1, 3, Sprite::GreenPiece}, {2, 3, Sprite::GreenPiece}, {3, 3, Sprite::GreenPiece},
  };
  Image im("Textures/Pieces.tga");
  ASSERT_TRUE(im.ok);
  ASSERT_EQ(im.img.width, 512);
  ASSERT_EQ(im.img.height, 512);
  for (const Case& c : cases) {
    SCOPED_TRACE("cell " + std::to_string(c.i) + "," + std::to_string(c.j));
    const int u0 = 128 * c.i, v0 = 128 * c.j;
    EXPECT_GE(im.Alpha(u0 + 64, v0 + 64), c.kind == Sprite::Shadow ? 80 : 250);
    // Round: the 80x80 block's corners are clear, and the texels just outside the
    // block are clear too, so nothing of the sprite is cut off.
    for (int du : {24, 103})
      for (int dv : {24, 103}) EXPECT_EQ(im.Alpha(u0 + du, v0 + dv), 0);
    for (int d = 24; d < 104; ++d)
      for (int edge : {23, 104}) {
        EXPECT_EQ(im.Alpha(u0 + d, v0 + edge), 0) << "u " << u0 + d << " v " << v0 + edge;
        EXPECT_EQ(im.Alpha(u0 + edge, v0 + d), 0) << "u " << u0 + edge << " v " << v0 + d;
      }
    if (c.kind == Sprite::Shadow) continue;
    // The character's ink tells the side.
    int red = 0, green = 0;
    for (int v = v0 + 40; v < v0 + 88; ++v)
      for (int u = u0 + 40; u < u0 + 88; ++u) {
        const uint8_t* p = im.At(u, v);
        if (p[0] > p[1] + 80) ++red;
        if (p[1] > p[0] + 40 && p[1] > p[2]) ++green;
      }
    if (c.kind == Sprite::RedPiece) {
      EXPECT_GT(red, 150);
      EXPECT_EQ(green, 0);
    } else {
      EXPECT_GT(green, 150);
      EXPECT_EQ(red, 0);
    }
  }
}

TEST(Artwork, MarkerAndBannersSitWhereTheyAreSampled) {
  Image im("Textures/Pieces.tga");
  ASSERT_TRUE(im.ok);
  ASSERT_EQ(im.img.width, 512);
  // The marker is white (it is tinted when drawn) and fits both blocks that sample
  // it: u 435..478 for the marker, u 433..474 for the arrow, v 40..83.
  const uint8_t* centre = im.At(455, 61);
  EXPECT_GE(centre[0], 200);
  EXPECT_GE(centre[1], 200);
  EXPECT_GE(centre[2], 200);
  EXPECT_GE(im.Alpha(455, 61), 100);
  EXPECT_GT(im.Alpha(438, 62), 0);  // the arrow's shaft row reaches both sides
  EXPECT_GT(im.Alpha(471, 62), 0);
  for (int v = 0; v < 108; ++v)  // the banner of reason 4 starts at 111
    for (int u = 384; u < 512; ++u)
      if (u < 435 || u >= 474 || v < 41 || v >= 83) {
        EXPECT_EQ(im.Alpha(u, v), 0) << u << "," << v;
      }

  const struct Banner { int reason, v0; } banners[] = {{2, 364}, {3, 237}, {4, 111}};
  for (const Banner& b : banners) {
    SCOPED_TRACE("reason " + std::to_string(b.reason));
    int opaque = 0, text = 0;
    for (int v = b.v0; v < b.v0 + 40; ++v)
      for (int u = 0; u < 512; ++u) {
        if (im.Alpha(u, v) > 200) ++opaque;
        if (im.Alpha(u, v) > 200 && im.Luma(u, v) > 200) ++text;
      }
    EXPECT_GT(opaque, 512 * 40 * 3 / 4);
    EXPECT_GT(text, 400);
    // The strip stays within its own rows.
    for (int u = 0; u < 512; ++u) {
      EXPECT_EQ(im.Alpha(u, b.v0 - 2), 0);
      EXPECT_EQ(im.Alpha(u, b.v0 + 41), 0);
    }
  }
}

TEST(Artwork, CrystalBallAndGlowDiscFillTheirRegions) {
  Image im("Textures/CrystalBall.tga");
  ASSERT_TRUE(im.ok);
  ASSERT_EQ(im.img.width, 256);
  ASSERT_EQ(im.img.height, 128);
  // The ball block is u 1..79, v 42..126; nothing outside it on its side of the image.
  EXPECT_GE(im.Alpha(40, 89), 230);
  EXPECT_GE(im.Alpha(40, 47), 230);  // the stand
  for (int v = 0; v < 128; ++v)
    for (int u = 0; u < 82; ++u)
      if (u < 1 || u >= 79 || v < 42 || v >= 126) {
        EXPECT_EQ(im.Alpha(u, v), 0) << u << "," << v;
      }

  // The disc is sampled as a circle of radius 40 around (125, 87).
  const double pi = std::acos(-1.0);
  for (int step = 0; step < 16; ++step) {
    const double a = step * pi / 8;
    SCOPED_TRACE("angle step " + std::to_string(step));
    EXPECT_GT(im.Alpha(125 + static_cast<int>(std::lround(20 * std::cos(a))),
                       87 + static_cast<int>(std::lround(20 * std::sin(a)))),
              100);
    EXPECT_GT(im.Alpha(125 + static_cast<int>(std::lround(34 * std::cos(a))),
                       87 + static_cast<int>(std::lround(34 * std::sin(a)))),
              0);
    EXPECT_EQ(im.Alpha(125 + static_cast<int>(std::lround(43 * std::cos(a))),
                       std::min(127, 87 + static_cast<int>(std::lround(43 * std::sin(a))))),
              0);
  }
}

TEST(Artwork, MenuStripsDifferOnlyInsideEachPressedItem) {
  Image im("Textures/UI_UpAndDown.tga");
  ASSERT_TRUE(im.ok);
  ASSERT_EQ(im.img.width, 256);
  ASSERT_EQ(im.img.height, 1024);
  // Scene x 912..1024 is u 144..256 in the plain strip and u 16..128 in the pressed one.
  auto plainU = [](int x) { return x - 768; };
  auto pressedU = [](int x) { return x - 896; };
  const struct Item {
    const char* name;
    int bandY, bandH;
    int hitY;  // a scene point inside the item's hit region
  } items[] = {
      {"undo", 745, 129, 789},     {"redo", 640, 99, 703}, {"new game", 482, 158, 540},
      {"settings", 267, 215, 420}, {"help", 92, 155, 173},
  };
  std::vector<bool> inBand(1024, false);
  for (const Item& it : items) {
    SCOPED_TRACE(it.name);
    EXPECT_EQ(im.Alpha(plainU(978), it.hitY), 255);
    EXPECT_EQ(im.Alpha(pressedU(978), it.hitY), 255);
    int changed = 0;
    for (int y = it.bandY; y < it.bandY + it.bandH; ++y) {
      inBand[y] = true;
      for (int x = 912; x < 1024; ++x) {
        if (im.SamePixel(im, plainU(x), y, pressedU(x), y)) continue;
        ++changed;
        // Only the button itself may change: x 941..1015, within the band.
        EXPECT_TRUE(x >= 941 && x < 1016) << "x " << x << " y " << y;
      }
    }
    EXPECT_GT(changed, 1000);
  }
  // Rows outside every band look the same in both strips.
  for (int y = 0; y < 1024; ++y) {
    if (inBand[y]) continue;
    for (int x = 912; x < 1024; ++x)
      EXPECT_TRUE(im.SamePixel(im, plainU(x), y, pressedU(x), y)) << "x " << x << " y " << y;
  }
}

TEST(Artwork, BoardGridLinesRunThroughTheSquareCentres) {
  Image im("Textures/Board.tga");
  ASSERT_TRUE(im.ok);
  ASSERT_EQ(im.img.width, 1024);
  ASSERT_EQ(im.img.height, 1024);
  auto x = [](int column) { return 152 + 90 * column; };
  auto y = [](int row) { return 884 - 90 * row; };
  auto darkest = [&](int u, int v) {
    int m = 255;
    for (int d = -1; d <= 1; ++d) m = std::min({m, im.Luma(u + d, v), im.Luma(u, v + d)});
    return m;
  };
  // Ground is sampled inside a square on the board side of the row, off the palace
  // diagonals and away from the river's words.
  auto groundY = [&](int row) { return row == 4 || row == 9 ? y(row) + 25 : y(row) - 25; };
  for (int column = 0; column < 9; ++column)
    for (int row = 0; row < 10; ++row) {
      SCOPED_TRACE("column " + std::to_string(column) + " row " + std::to_string(row));
      const int gx = column < 8 ? x(column) + 45 : x(column) - 45;
      const int ground = im.Luma(gx, groundY(row));
      EXPECT_GT(ground, 120);
      // The horizontal line of the row, halfway to the next column.
      EXPECT_LT(darkest(gx, y(row)), ground - 60);
      // The vertical line of the column, halfway to the next row, except where
      // the inner columns stop at the river.
      if (row < 9 && !(row == 4 && column > 0 && column < 8)) {
        EXPECT_LT(darkest(x(column), y(row) - 45), ground - 60);
      }
    }
}

TEST(Artwork, CursorAndIconFilesHaveReadableHeaders) {
  auto read = [](const std::string& rel) {
    std::ifstream in(RepoPath(rel), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  };
  auto u16 = [](const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; };
  auto u32 = [&](const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(u16(b, at)) | static_cast<uint32_t>(u16(b, at + 2)) << 16;
  };

  const std::vector<uint8_t> cur = read("arrowcop.cur");
  ASSERT_GE(cur.size(), 22u + 40u);
  EXPECT_EQ(u16(cur, 2), 2);  // cursor
  EXPECT_EQ(u16(cur, 4), 1);
  EXPECT_EQ(cur[6], 32);
  EXPECT_EQ(cur[7], 32);
  EXPECT_LT(u16(cur, 10), 32);  // hot spot inside the image
  EXPECT_LT(u16(cur, 12), 32);
  const uint32_t offset = u32(cur, 18);
  ASSERT_EQ(offset + u32(cur, 14), cur.size());
  EXPECT_EQ(u32(cur, offset), 40u);
  EXPECT_EQ(u32(cur, offset + 8), 64u);  // colour image and AND mask
  EXPECT_EQ(u16(cur, offset + 14), 32);
  EXPECT_EQ(u32(cur, 14), 40u + 32 * 32 * 4 + 32 * 4);

  const std::vector<uint8_t> bmp = read("resources/ravenquill-icon.bmp");
  ASSERT_GE(bmp.size(), 14u + 108u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(u32(bmp, 2), bmp.size());
  EXPECT_EQ(u32(bmp, 18), 64u);
  EXPECT_EQ(u32(bmp, 22), 64u);
  EXPECT_EQ(u16(bmp, 28), 32);
  EXPECT_EQ(u32(bmp, 10) + 64u * 64u * 4u, bmp.size());
  EXPECT_EQ(u32(bmp, 14 + 52), 0xFF000000u);  // alpha mask
  // Transparent corner, opaque centre.
  const uint32_t px = u32(bmp, 10);
  EXPECT_EQ(bmp[px + 3], 0);
  EXPECT_EQ(bmp[px + (32 * 64 + 32) * 4 + 3], 255);
}

}  // namespace
