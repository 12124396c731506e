// Pixel-level reading and writing of uncompressed TGA images. GL-free, so the
// texture table and the artwork generator can share it.
#pragma once

#include <cstdint>
#include <vector>

namespace rq {

// Pixels row by row, first row in memory first; channel order R, G, B (, A).
struct TgaImage {
  int width = 0;
  int height = 0;
  int components = 0;           // bytes per pixel: 1, 3 or 4
  std::vector<uint8_t> pixels;  // width * height * components bytes
};

constexpr int kTgaHeaderSize = 18;
constexpr int kTgaMaxSide = 2048;

// Reads an uncompressed TGA the way the game's textures expect: the pixel data
// starts right after the 18-byte header; depth 24 gives 3 components, 32 gives 4,
// anything else 1; descriptor bit 0x10 reverses the row order; width and height
// are clamped to 1..2048. Returns true when every row was read in full.
// A file that cannot be opened leaves `out` untouched; a file that ends early
// keeps what was read and the rest of the buffer is zero.
bool ReadTgaImage(const char* path, TgaImage& out);

// Writes `image` (3 or 4 components, 1..65535 on a side) as an uncompressed
// true-colour TGA, rows stored bottom-up in memory order, so ReadTgaImage gives
// the same bytes back.
bool WriteTgaImage(const char* path, const TgaImage& image);

}  // namespace rq
