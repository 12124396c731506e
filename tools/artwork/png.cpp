// PNG files of a canvas: 8-bit RGBA, every row Paeth-filtered, deflated by zlib.
#include <zlib.h>

#include <cstdlib>

#include "artwork.h"

namespace rq::art {

namespace {

// Appends a 32-bit number, most significant byte first.
void PutBig32(std::vector<uint8_t>& b, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<uint8_t>(v >> shift & 0xFF));
}

// A chunk: length, type, data, and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& b, const char* type, const std::vector<uint8_t>& data) {
  PutBig32(b, static_cast<uint32_t>(data.size()));
  const size_t start = b.size();
  b.insert(b.end(), type, type + 4);
  b.insert(b.end(), data.begin(), data.end());
  PutBig32(b, static_cast<uint32_t>(crc32(0, b.data() + start, static_cast<uInt>(b.size() - start))));
}

// The Paeth predictor: whichever of left, up and upper left is nearest to their estimate.
uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

// A channel in 0..1 as a byte.
uint8_t To8(float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255)); }

}  // namespace

std::vector<uint8_t> EncodePng(const Canvas& c) {
  const int w = c.Width(), h = c.Height(), stride = w * 4;
  // PNG rows run top-down, the canvas's bottom-up.
  std::vector<uint8_t> rows(static_cast<size_t>(h) * stride);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Rgba& p = c.At(x, h - 1 - y);
      uint8_t* q = &rows[static_cast<size_t>(y) * stride + x * 4];
      q[0] = To8(p.r);
      q[1] = To8(p.g);
      q[2] = To8(p.b);
      q[3] = To8(p.a);
    }
  std::vector<uint8_t> filtered;
  filtered.reserve(rows.size() + h);
  for (int y = 0; y < h; ++y) {
    filtered.push_back(4);
    const uint8_t* row = &rows[static_cast<size_t>(y) * stride];
    const uint8_t* up = y > 0 ? row - stride : nullptr;
    for (int i = 0; i < stride; ++i) {
      const int a = i >= 4 ? row[i - 4] : 0, b = up ? up[i] : 0, cc = up && i >= 4 ? up[i - 4] : 0;
      filtered.push_back(static_cast<uint8_t>(row[i] - Paeth(a, b, cc)));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(filtered.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, filtered.data(), static_cast<uLong>(filtered.size()), 9) != Z_OK)
    return {};
  packed.resize(packedSize);

  std::vector<uint8_t> header;
  PutBig32(header, static_cast<uint32_t>(w));
  PutBig32(header, static_cast<uint32_t>(h));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive, no interlace
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace rq::art
