// The TGA reader and writer: what each kind of file reads as, what is refused, and
// that what the writer writes the reader gives back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "render/tga.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kPath = std::filesystem::temp_directory_path() / ("rq-tga-" + std::to_string(getpid()) + ".tga");

// An uncompressed true-colour header; `size` cuts it short.
Bytes File(int width, int height, int depth, int descriptor, const Bytes& pixels, size_t size = rq::kTgaHeaderSize) {
  Bytes f(rq::kTgaHeaderSize, 0);
  f[2] = 2;  // uncompressed true colour
  f[12] = width & 0xFF;
  f[13] = width >> 8 & 0xFF;
  f[14] = height & 0xFF;
  f[15] = height >> 8 & 0xFF;
  f[16] = static_cast<uint8_t>(depth);
  f[17] = static_cast<uint8_t>(descriptor);
  f.resize(size);
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

Bytes Sequence(size_t n, size_t from = 0) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((from + i) % 251 + 1);
  return b;
}

TEST(TgaReader, ReadsEachKindOfFileAndMarksShortOnesIncomplete) {
  const Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // 2x2, B G R
  const struct Case { const char* name; Bytes file; bool complete; int width, height, components; Bytes pixels; } cases[] = {
      {"24 bit, bottom-up, file order", File(2, 2, 24, 0, rows), true, 2, 2, 3, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}},
      {"bit 0x20 not looked at", File(2, 2, 24, 0x20, rows), true, 2, 2, 3, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}},
      {"bit 0x10 reverses the rows", File(2, 2, 24, 0x10, rows), true, 2, 2, 3, {9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}},
      {"32 bit BGRA to RGBA", File(2, 1, 32, 8, {1, 2, 3, 4, 5, 6, 7, 8}), true, 2, 1, 4, {3, 2, 1, 4, 7, 6, 5, 8}},
      {"8 bit copied", File(3, 2, 8, 0, {1, 2, 3, 4, 5, 6}), true, 3, 2, 1, {1, 2, 3, 4, 5, 6}},
      {"16 bit, one byte a pixel", File(2, 2, 16, 0, {1, 2, 3, 4, 5, 6, 7, 8}), true, 2, 2, 1, {1, 2, 3, 4}},
      {"width 0 reads as 1", File(0, 2, 8, 0, {7, 9}), true, 1, 2, 1, {7, 9}},
      {"height 0 reads as 1", File(2, 0, 8, 0, {7, 9}), true, 2, 1, 1, {7, 9}},
      {"width 3000 reads 2048 a row", File(3000, 2, 8, 0, Sequence(6000)), true, 2048, 2, 1, Sequence(4096)},
      {"ends mid-row: zero-filled", File(2, 2, 24, 0, Bytes(rows.begin(), rows.end() - 3)), false, 2, 2, 3,
       {3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0}},
      {"cut short, reversed rows keep their place", File(2, 2, 24, 0x10, {1, 2, 3, 4, 5, 6}), false, 2, 2, 3,
       {0, 0, 0, 0, 0, 0, 3, 2, 1, 6, 5, 4}},
      {"partial pixel dropped", File(2, 1, 32, 0, {1, 2, 3, 4, 5, 6}), false, 2, 1, 4, {3, 2, 1, 4, 0, 0, 0, 0}},
      {"header without pixels", File(2, 2, 24, 0, {}), false, 2, 2, 3, Bytes(12, 0)},
      {"header cut short", File(2, 2, 24, 0, {}, 10), false, 1, 1, 1, {0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(kPath, std::ios::binary).write(reinterpret_cast<const char*>(c.file.data()), c.file.size());
    rq::TgaImage img;
    img.pixels.assign(5, 0xEE);  // leftovers must not survive a load
    EXPECT_EQ(rq::ReadTgaImage(kPath.c_str(), img), c.complete);
    EXPECT_EQ(img.width, c.width);
    EXPECT_EQ(img.height, c.height);
    EXPECT_EQ(img.components, c.components);
    EXPECT_EQ(img.pixels, c.pixels);
  }
  std::filesystem::remove(kPath);
  rq::TgaImage untouched{7, 5, 3, Bytes(105, 0x42)};
  EXPECT_FALSE(rq::ReadTgaImage("/nonexistent/absent.tga", untouched));
  EXPECT_FALSE(rq::ReadTgaImage(nullptr, untouched));
  EXPECT_EQ(untouched.width * untouched.height * untouched.components, 105);
  EXPECT_EQ(untouched.pixels, Bytes(105, 0x42));
}

TEST(TgaWriter, WritesBottomUpFilesTheReaderGivesBackAndRefusesTheRest) {
  const struct Case { const char* name; int width, height, components; size_t pixelBytes; bool accepted; } cases[] = {
      {"rgb", 3, 2, 3, 18, true},
      {"rgba", 2, 3, 4, 24, true},
      {"one component", 2, 2, 1, 4, false},
      {"empty", 0, 0, 3, 0, false},
      {"buffer too small", 4, 4, 4, 60, false},
      {"too wide for the header", 70000, 1, 3, 210000, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const rq::TgaImage img{c.width, c.height, c.components, Sequence(c.pixelBytes)};
    ASSERT_EQ(rq::WriteTgaImage(kPath.c_str(), img), c.accepted);
    if (!c.accepted) continue;
    std::ifstream in(kPath, std::ios::binary);
    Bytes bgr = img.pixels;  // bottom-up, the first memory row first, blue before red
    for (size_t i = 0; i < bgr.size(); i += c.components) std::swap(bgr[i], bgr[i + 2]);
    const Bytes written(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(written, File(c.width, c.height, c.components * 8, c.components == 4 ? 8 : 0, bgr));
    rq::TgaImage back;
    EXPECT_TRUE(rq::ReadTgaImage(kPath.c_str(), back));
    EXPECT_EQ(back.pixels, img.pixels);
  }
  std::filesystem::remove(kPath);
}

}  // namespace
