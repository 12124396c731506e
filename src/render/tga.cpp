#include "render/tga.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace rq {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

int ClampSide(int v) { return std::clamp(v, 1, kTgaMaxSide); }

// File rows are B, G, R (, A); memory wants R, G, B (, A).
void ConvertRow(const uint8_t* src, uint8_t* dst, int pixelCount, int components) {
  if (components == 1) {
    std::memcpy(dst, src, static_cast<size_t>(pixelCount));
    return;
  }
  for (int i = 0; i < pixelCount; ++i, src += components, dst += components) {
    dst[0] = src[2];
    dst[1] = src[1];
    dst[2] = src[0];
    if (components == 4) dst[3] = src[3];
  }
}

}  // namespace

bool ReadTgaImage(const char* path, TgaImage& out) {
  if (path == nullptr) return false;
  File file(std::fopen(path, "rb"));
  if (!file) return false;

  // A short header is taken as zeros, so even a stub file yields a defined image.
  uint8_t header[kTgaHeaderSize] = {};
  bool complete = std::fread(header, 1, sizeof header, file.get()) == sizeof header;

  const int depth = header[16];
  const bool reversed = (header[17] & 0x10) != 0;
  const int components = depth == 24 ? 3 : depth == 32 ? 4 : 1;
  const int width = ClampSide(header[12] | (header[13] << 8));
  const int height = ClampSide(header[14] | (header[15] << 8));

  const size_t rowBytes = static_cast<size_t>(width) * components;
  out.width = width;
  out.height = height;
  out.components = components;
  out.pixels.assign(rowBytes * height, 0);

  std::vector<uint8_t> row(rowBytes);
  for (int fileRow = 0; fileRow < height && complete; ++fileRow) {
    const int memRow = reversed ? height - 1 - fileRow : fileRow;
    const size_t got = std::fread(row.data(), 1, rowBytes, file.get());
    // Only whole pixels of a cut-off row are kept; the rest stays zero.
    ConvertRow(row.data(), out.pixels.data() + rowBytes * memRow,
               static_cast<int>(got / components), components);
    complete = got == rowBytes;
  }
  return complete;
}

bool WriteTgaImage(const char* path, const TgaImage& image) {
  if (path == nullptr) return false;
  if (image.components != 3 && image.components != 4) return false;
  if (image.width < 1 || image.width > 0xFFFF || image.height < 1 || image.height > 0xFFFF)
    return false;
  const size_t rowBytes = static_cast<size_t>(image.width) * image.components;
  if (image.pixels.size() != rowBytes * image.height) return false;

  uint8_t header[kTgaHeaderSize] = {};
  header[2] = 2;  // uncompressed true colour
  header[12] = static_cast<uint8_t>(image.width & 0xFF);
  header[13] = static_cast<uint8_t>(image.width >> 8);
  header[14] = static_cast<uint8_t>(image.height & 0xFF);
  header[15] = static_cast<uint8_t>(image.height >> 8);
  header[16] = static_cast<uint8_t>(image.components * 8);
  header[17] = image.components == 4 ? 8 : 0;  // alpha bits; origin bottom-left

  File file(std::fopen(path, "wb"));
  if (!file) return false;
  bool ok = std::fwrite(header, 1, sizeof header, file.get()) == sizeof header;

  std::vector<uint8_t> row(rowBytes);
  for (int y = 0; y < image.height && ok; ++y) {
    // The same swap turns R, G, B back into B, G, R.
    ConvertRow(image.pixels.data() + rowBytes * y, row.data(), image.width, image.components);
    ok = std::fwrite(row.data(), 1, rowBytes, file.get()) == rowBytes;
  }
  if (std::fclose(file.release()) != 0) ok = false;
  return ok;
}

}  // namespace rq
