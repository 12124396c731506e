// Reading a Windows cursor file (.cur) into plain RGBA pixels with its hot spot.
// SDL has no reader of its own for these; the pixels go to SDL_CreateColorCursor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rq {

constexpr int kCursorMaxSide = 256;
constexpr size_t kCursorMaxFileBytes = 1u << 20;

struct CursorImage {
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  std::vector<uint8_t> rgba;  // top row first, R, G, B, A
};

// Decodes the first image of a cursor (or icon) directory held in `bytes`:
// uncompressed 1, 4, 8, 24 and 32-bit bitmaps with their AND mask. A hot spot
// outside the image is moved onto its nearest edge. False for anything else.
bool DecodeCursor(const uint8_t* bytes, size_t size, CursorImage& out);

// Reads and decodes the file at `path`; false when it cannot be read or decoded.
bool ReadCursorFile(const char* path, CursorImage& out);

}  // namespace rq
