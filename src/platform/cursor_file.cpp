#include "platform/cursor_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace rq {

namespace {

uint32_t Get16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return Get16(p) | (Get16(p + 2) << 16); }
int32_t GetSigned32(const uint8_t* p) { return static_cast<int32_t>(Get32(p)); }

constexpr size_t kDirectoryBytes = 6;
constexpr size_t kEntryBytes = 16;
constexpr size_t kInfoHeaderBytes = 40;

// Bytes per bitmap row: padded to a whole 32-bit word.
size_t Stride(int width, int bits) { return (static_cast<size_t>(width) * bits + 31) / 32 * 4; }

// The colour index of pixel x in a row of `bits` per pixel (1, 4 or 8).
int PaletteIndex(const uint8_t* row, int x, int bits) {
  if (bits == 8) return row[x];
  if (bits == 4) return (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
  return (row[x / 8] >> (7 - x % 8)) & 1;
}

}  // namespace

bool DecodeCursor(const uint8_t* bytes, size_t size, CursorImage& out) {
  if (bytes == nullptr || size < kDirectoryBytes + kEntryBytes) return false;
  const uint32_t type = Get16(bytes + 2);
  if (Get16(bytes) != 0 || (type != 1 && type != 2) || Get16(bytes + 4) < 1) return false;

  const uint8_t* entry = bytes + kDirectoryBytes;
  // Icons keep planes and depth where cursors keep the hot spot.
  const int hotX = type == 2 ? static_cast<int>(Get16(entry + 4)) : 0;
  const int hotY = type == 2 ? static_cast<int>(Get16(entry + 6)) : 0;
  const size_t offset = Get32(entry + 12);
  if (offset > size || size - offset < kInfoHeaderBytes) return false;

  const uint8_t* info = bytes + offset;
  const size_t infoBytes = Get32(info);
  const int32_t width = GetSigned32(info + 4);
  const int32_t doubledHeight = GetSigned32(info + 8);  // colour image and AND mask
  const int bits = static_cast<int>(Get16(info + 14));
  const uint32_t compression = Get32(info + 16);
  const uint32_t coloursUsed = Get32(info + 32);
  if (infoBytes < kInfoHeaderBytes || infoBytes > size - offset) return false;
  if (compression != 0) return false;  // PNG-compressed and bit-field images are not read
  if (width < 1 || width > kCursorMaxSide) return false;
  if (doubledHeight < 2 || doubledHeight > 2 * kCursorMaxSide) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  const int height = doubledHeight / 2;

  size_t paletteColours = 0;
  if (bits <= 8) {
    paletteColours = coloursUsed != 0 ? coloursUsed : size_t{1} << bits;
    if (paletteColours > 256) return false;
  }
  const size_t colourStride = Stride(width, bits);
  const size_t maskStride = Stride(width, 1);
  const size_t need = infoBytes + paletteColours * 4 + (colourStride + maskStride) * height;
  if (need > size - offset) return false;

  const uint8_t* palette = info + infoBytes;
  const uint8_t* colourRows = palette + paletteColours * 4;
  const uint8_t* maskRows = colourRows + colourStride * height;

  out.width = width;
  out.height = height;
  out.hotX = std::clamp(hotX, 0, width - 1);
  out.hotY = std::clamp(hotY, 0, height - 1);
  out.rgba.assign(static_cast<size_t>(width) * height * 4, 0);

  // A 32-bit image whose alpha is zero throughout is an old one: its mask tells.
  bool alphaInImage = false;
  if (bits == 32)
    for (int y = 0; y < height && !alphaInImage; ++y)
      for (int x = 0; x < width; ++x)
        if (colourRows[colourStride * y + 4 * x + 3] != 0) {
          alphaInImage = true;
          break;
        }

  for (int y = 0; y < height; ++y) {
    const int fileRow = height - 1 - y;  // rows are stored bottom-up
    const uint8_t* colour = colourRows + colourStride * fileRow;
    const uint8_t* mask = maskRows + maskStride * fileRow;
    for (int x = 0; x < width; ++x) {
      uint8_t bgr[3];
      uint8_t alpha = 255;
      if (bits <= 8) {
        const size_t index = static_cast<size_t>(PaletteIndex(colour, x, bits));
        if (index < paletteColours) std::memcpy(bgr, palette + 4 * index, 3);
        else std::memset(bgr, 0, 3);
      } else {
        const uint8_t* p = colour + static_cast<size_t>(x) * (bits / 8);
        std::memcpy(bgr, p, 3);
        if (alphaInImage) alpha = p[3];
      }
      if (!alphaInImage && (mask[x / 8] >> (7 - x % 8) & 1)) {
        // A set mask bit shows the screen; with colour it would invert it, which a
        // colour cursor cannot do: such pixels are drawn black so they stay visible.
        const bool inverts = bgr[0] | bgr[1] | bgr[2];
        alpha = inverts ? 255 : 0;
        if (inverts) std::memset(bgr, 0, 3);
      }
      uint8_t* dst = &out.rgba[(static_cast<size_t>(y) * width + x) * 4];
      dst[0] = bgr[2];
      dst[1] = bgr[1];
      dst[2] = bgr[0];
      dst[3] = alpha;
    }
  }
  return true;
}

bool ReadCursorFile(const char* path, CursorImage& out) {
  if (path == nullptr) return false;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  std::vector<uint8_t> bytes(kCursorMaxFileBytes);
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return DecodeCursor(bytes.data(), got, out);
}

}  // namespace rq
