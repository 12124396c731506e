#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/tga.h"

namespace {

using Bytes = std::vector<uint8_t>;

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "rq_tga_XXXXXX").string();
    path_ = mkdtemp(tmpl.data()) ? tmpl : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

Bytes Header(int width, int height, int depth, int descriptor) {
  Bytes h(rq::kTgaHeaderSize, 0);
  h[2] = 2;
  h[12] = width & 0xFF;
  h[13] = width >> 8 & 0xFF;
  h[14] = height & 0xFF;
  h[15] = height >> 8 & 0xFF;
  h[16] = static_cast<uint8_t>(depth);
  h[17] = static_cast<uint8_t>(descriptor);
  return h;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Sequence(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i % 251 + 1);
  return b;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

struct ReadCase {
  const char* name;
  Bytes file;
  bool complete;
  int width, height, components;
  Bytes pixels;
};

// 2x2, 24 bit: file rows (B, G, R) 1..12 in order.
const Bytes kRows24 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const Bytes kRgbFileOrder = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};
const Bytes kRgbReversed = {9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4};

std::vector<ReadCase> ReadCases() {
  const Bytes wide = Sequence(2 * 3000);
  return {
      {"bottom_up_24_bit_keeps_file_order", Concat(Header(2, 2, 24, 0x00), kRows24), true, 2, 2, 3,
       kRgbFileOrder},
      {"origin_bit_0x20_is_not_looked_at", Concat(Header(2, 2, 24, 0x20), kRows24), true, 2, 2, 3,
       kRgbFileOrder},
      {"bit_0x10_reverses_the_rows", Concat(Header(2, 2, 24, 0x10), kRows24), true, 2, 2, 3,
       kRgbReversed},
      {"bgra_32_bit_becomes_rgba",
       Concat(Header(2, 1, 32, 0x08), {1, 2, 3, 4, 5, 6, 7, 8}),
       true,
       2,
       1,
       4,
       {3, 2, 1, 4, 7, 6, 5, 8}},
      {"8_bit_bytes_are_copied",
       Concat(Header(3, 2, 8, 0), {1, 2, 3, 4, 5, 6}),
       true,
       3,
       2,
       1,
       {1, 2, 3, 4, 5, 6}},
      {"16_bit_is_read_one_byte_a_pixel",
       Concat(Header(2, 2, 16, 0), {1, 2, 3, 4, 5, 6, 7, 8}),
       true,
       2,
       2,
       1,
       {1, 2, 3, 4}},
      {"width_0_reads_as_1", Concat(Header(0, 2, 8, 0), {7, 9}), true, 1, 2, 1, {7, 9}},
      {"height_0_reads_as_1", Concat(Header(2, 0, 8, 0), {7, 9}), true, 2, 1, 1, {7, 9}},
      {"width_3000_reads_2048_bytes_a_row", Concat(Header(3000, 2, 8, 0), wide), true, 2048, 2, 1,
       Bytes(wide.begin(), wide.begin() + 4096)},
      {"file_ending_mid_row_is_incomplete_and_zero_filled",
       Concat(Header(2, 2, 24, 0), {1, 2, 3, 4, 5, 6, 7, 8, 9}),
       false,
       2,
       2,
       3,
       {3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0}},
      {"cut_short_reversed_rows_keep_their_place",
       Concat(Header(2, 2, 24, 0x10), {1, 2, 3, 4, 5, 6}),
       false,
       2,
       2,
       3,
       {0, 0, 0, 0, 0, 0, 3, 2, 1, 6, 5, 4}},
      {"partial_pixel_is_dropped",
       Concat(Header(2, 1, 32, 0), {1, 2, 3, 4, 5, 6}),
       false,
       2,
       1,
       4,
       {3, 2, 1, 4, 0, 0, 0, 0}},
      {"header_without_pixels", Header(2, 2, 24, 0), false, 2, 2, 3, Bytes(12, 0)},
      {"header_cut_short", Bytes(10, 0), false, 1, 1, 1, {0}},
  };
}

TEST(TgaReader, ReadsPixelsAsTheTexturesExpect) {
  TempDir dir;
  for (const ReadCase& c : ReadCases()) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File(std::string(c.name) + ".tga");
    WriteFile(path, c.file);
    rq::TgaImage img;
    img.pixels.assign(5, 0xEE);  // leftovers must not survive a load
    EXPECT_EQ(rq::ReadTgaImage(path.c_str(), img), c.complete);
    EXPECT_EQ(img.width, c.width);
    EXPECT_EQ(img.height, c.height);
    EXPECT_EQ(img.components, c.components);
    EXPECT_EQ(img.pixels, c.pixels);
  }
}

TEST(TgaReader, MissingFileLeavesTheImageUntouched) {
  TempDir dir;
  rq::TgaImage img;
  img.width = 7;
  img.height = 5;
  img.components = 3;
  img.pixels.assign(7 * 5 * 3, 0x42);
  const rq::TgaImage before = img;
  EXPECT_FALSE(rq::ReadTgaImage(dir.File("absent.tga").c_str(), img));
  EXPECT_FALSE(rq::ReadTgaImage(nullptr, img));
  EXPECT_EQ(img.width, before.width);
  EXPECT_EQ(img.height, before.height);
  EXPECT_EQ(img.components, before.components);
  EXPECT_EQ(img.pixels, before.pixels);
}

struct WriteCase {
  const char* name;
  int width, height, components;
  size_t pixelBytes;
  bool accepted;
};

TEST(TgaWriter, WritesBottomUpFilesTheReaderGivesBack) {
  const WriteCase cases[] = {
      {"rgb", 3, 2, 3, 18, true},
      {"rgba", 2, 3, 4, 24, true},
      {"one_component", 2, 2, 1, 4, false},
      {"empty", 0, 0, 3, 0, false},
      {"buffer_too_small", 4, 4, 4, 60, false},
      {"too_wide_for_the_header", 70000, 1, 3, 210000, false},
  };
  TempDir dir;
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    rq::TgaImage img;
    img.width = c.width;
    img.height = c.height;
    img.components = c.components;
    img.pixels = Sequence(c.pixelBytes);
    const std::string path = dir.File(std::string(c.name) + ".tga");
    ASSERT_EQ(rq::WriteTgaImage(path.c_str(), img), c.accepted);
    if (!c.accepted) continue;

    const Bytes raw = ReadFile(path);
    ASSERT_EQ(raw.size(), rq::kTgaHeaderSize + c.pixelBytes);
    EXPECT_EQ(raw[2], 2);  // uncompressed true colour
    EXPECT_EQ(raw[16], c.components * 8);
    EXPECT_EQ(raw[17] & 0x30, 0);  // bottom-up, left to right
    // The first memory row goes first, blue before red.
    EXPECT_EQ(raw[18], img.pixels[2]);
    EXPECT_EQ(raw[20], img.pixels[0]);

    rq::TgaImage back;
    EXPECT_TRUE(rq::ReadTgaImage(path.c_str(), back));
    EXPECT_EQ(back.width, c.width);
    EXPECT_EQ(back.height, c.height);
    EXPECT_EQ(back.components, c.components);
    EXPECT_EQ(back.pixels, img.pixels);
  }
}

}  // namespace
