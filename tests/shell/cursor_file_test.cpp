// Windows cursor files: the committed one, a generated one, and damaged ones that must be
// refused rather than read out of bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/cursor_file.h"

namespace rq {
namespace {

// A one-image cursor, 4 by 4, hot spot at hx, hy: at 32 bits every pixel 0xFF102030; at 4 bits
// each row takes colours 0, 1, 1, 0 of a palette of two, 0x102030 and 0xA0B0C0.
std::vector<uint8_t> MakeCur(int hx = 1, int hy = 2, int bits = 32) {
  std::vector<uint8_t> b;
  // Little-endian fields, each a value and its size in bytes.
  struct Field { long long value; int bytes; };
  const auto put = [&](std::initializer_list<Field> fields) {
    for (const Field& f : fields)
      for (int k = 0; k < f.bytes; ++k) b.push_back(static_cast<uint8_t>(f.value >> (8 * k)));
  };
  const int colours = bits == 4 ? 2 : 0;
  const int words = bits == 4 ? 4 : 16;
  put({{0, 2}, {2, 2}, {1, 2}});  // a cursor directory of one image
  put({{4, 1}, {4, 1}, {0, 2}, {hx, 2}, {hy, 2}, {40 + 4 * colours + 4 * words + 16, 4}, {22, 4}});  // its entry
  put({{40, 4}, {4, 4}, {8, 4}, {1, 2}, {bits, 2}});  // the bitmap header
  for (int i = 0; i < 6; ++i) put({{i == 4 ? colours : 0, 4}});
  if (bits == 4) put({{0x102030, 4}, {0xA0B0C0, 4}});
  for (int i = 0; i < words; ++i) put({{bits == 4 ? 0x1001u : 0xFF102030u, 4}});  // pixels, then the AND mask
  for (int i = 0; i < 4; ++i) put({{0, 4}});
  return b;
}

// Writes `bytes` over the file from `at` on.
void Poke(std::vector<uint8_t>& file, size_t at, std::initializer_list<uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
}

TEST(CursorFile, ReadsGoodFilesAndRefusesDamagedOnes) {
  CursorImage image;
  const struct { int hx, hy, bits, wantX, wantY; std::vector<uint8_t> firstTwo; } spots[] = {
      {1, 2, 32, 1, 2, {0x10, 0x20, 0x30, 0xFF, 0x10, 0x20, 0x30, 0xFF}},
      {40, 9, 32, 3, 3, {0x10, 0x20, 0x30, 0xFF, 0x10, 0x20, 0x30, 0xFF}},
      {0, 0, 4, 0, 0, {0x10, 0x20, 0x30, 0xFF, 0xA0, 0xB0, 0xC0, 0xFF}},
  };
  for (const auto& s : spots) {
    const std::vector<uint8_t> file = MakeCur(s.hx, s.hy, s.bits);
    ASSERT_TRUE(DecodeCursor(file.data(), file.size(), image)) << s.bits;
    EXPECT_EQ(image.width * 10 + image.height, 44);
    EXPECT_EQ(image.hotX * 10 + image.hotY, s.wantX * 10 + s.wantY) << "a hot spot outside moves onto the edge";
    EXPECT_EQ(std::vector<uint8_t>(image.rgba.begin(), image.rgba.begin() + 8), s.firstTwo) << s.bits << " bits";
  }
  const struct {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
  } cases[] = {
      {"cut inside the pixels", [](std::vector<uint8_t>& b) { b.erase(b.end() - 5, b.end()); }},
      {"cut inside the header", [](std::vector<uint8_t>& b) { b.erase(b.begin() + 30, b.end()); }},
      {"only the directory", [](std::vector<uint8_t>& b) { b.erase(b.begin() + 6, b.end()); }},
      {"reserved word set", [](std::vector<uint8_t>& b) { b[0] = 1; }},
      {"not a cursor or icon", [](std::vector<uint8_t>& b) { b[2] = 3; }},
      {"no images", [](std::vector<uint8_t>& b) { b[4] = 0; }},
      {"image offset past the end", [](std::vector<uint8_t>& b) { Poke(b, 18, {0xFF, 0xFF}); }},
      {"header size past the end", [](std::vector<uint8_t>& b) { b[22 + 1] = 0x40; }},
      {"PNG image", [](std::vector<uint8_t>& b) { Poke(b, 22, {0x89, 'P', 'N', 'G'}); }},
      {"compressed bitmap", [](std::vector<uint8_t>& b) { b[22 + 16] = 1; }},
      {"width 0", [](std::vector<uint8_t>& b) { b[22 + 4] = 0; }},
      {"width 300", [](std::vector<uint8_t>& b) { Poke(b, 22 + 4, {0x2C, 1}); }},
      {"negative height", [](std::vector<uint8_t>& b) { b[22 + 11] = 0xFF; }},
      {"16 bits a pixel", [](std::vector<uint8_t>& b) { b[22 + 14] = 16; }},
      {"a palette of 300 colours",
       [](std::vector<uint8_t>& b) {
         Poke(b, 22 + 14, {8});
         Poke(b, 22 + 32, {0x2C, 1});
       }},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> file = MakeCur();
    c.damage(file);
    EXPECT_FALSE(DecodeCursor(file.data(), file.size(), image)) << c.name;
  }
  EXPECT_FALSE(DecodeCursor(nullptr, 100, image));
  EXPECT_FALSE(ReadCursorFile("/nonexistent/arrowcop.cur", image));
  // The committed pointer: an arrow from the top left, its tip the hot spot, on clear ground.
  ASSERT_TRUE(ReadCursorFile(RQ_REPO_ROOT "/arrowcop.cur", image));
  EXPECT_EQ(image.width * 100 + image.height * 10 + image.hotX + image.hotY, 32 * 100 + 32 * 10 + 2);
  EXPECT_EQ(image.rgba[31 * 4 + 3], 0) << "top right is clear";
  EXPECT_GT(image.rgba[(3 * 32 + 2) * 4 + 3], 200) << "the arrow starts at the top left";
}

}  // namespace
}  // namespace rq
