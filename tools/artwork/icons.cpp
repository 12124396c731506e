// The pointer shown over the command menu (an arrow with a plus sign, as a
// Windows .cur file) and the window icon (a red general, as a 32-bit BMP).
#include "artwork.h"

namespace rq::art {

namespace {

void Put16(std::vector<uint8_t>& b, unsigned v) {
  b.push_back(static_cast<uint8_t>(v & 0xFF));
  b.push_back(static_cast<uint8_t>(v >> 8 & 0xFF));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

uint8_t To8(float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255)); }

// Rows bottom-up, B, G, R, A: the canvas's own row order.
void PutPixels(std::vector<uint8_t>& b, const Canvas& c) {
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      const Rgba& p = c.At(x, y);
      b.push_back(To8(p.b));
      b.push_back(To8(p.g));
      b.push_back(To8(p.r));
      b.push_back(To8(p.a));
    }
}

constexpr int kCursorSize = 32, kHotX = 1, kHotY = 1;

Canvas DrawCursor() {
  Canvas c(kCursorSize, kCursorSize);
  // Drawn in top-down coordinates and flipped into the canvas.
  auto up = [](std::vector<float> pts) {
    for (size_t i = 1; i < pts.size(); i += 2) pts[i] = kCursorSize - pts[i];
    return pts;
  };
  const std::vector<float> arrow = up(
      {1.5f, 1.5f, 1.5f, 19.0f, 5.6f, 15.2f, 8.6f, 22.0f, 11.2f, 20.9f, 8.3f, 14.3f, 13.6f, 14.2f});
  const std::vector<float> box = up({14.5f, 18.5f, 26.5f, 18.5f, 26.5f, 30.5f, 14.5f, 30.5f});
  const Box all{0, 0, kCursorSize, kCursorSize};
  auto outlined = [&](const std::vector<float>& shape) {
    c.FillSdf(
        all, [&](float x, float y) { return SdPolygon(x, y, shape) - 1.0f; }, Rgb8(0, 0, 0));
    c.FillSdf(
        all, [&](float x, float y) { return SdPolygon(x, y, shape); }, Rgb8(255, 255, 255));
  };
  outlined(arrow);
  outlined(box);
  const float cx = 20.5f, cy = kCursorSize - 24.5f;
  c.FillSdf(
      all,
      [&](float x, float y) {
        return std::min(SdSegment(x, y, cx - 3.5f, cy, cx + 3.5f, cy, 0.9f),
                        SdSegment(x, y, cx, cy - 3.5f, cx, cy + 3.5f, 0.9f));
      },
      Rgb8(0, 0, 0));
  return c;
}

}  // namespace

std::vector<uint8_t> MakeCursorFile() {
  const Canvas c = DrawCursor();
  const uint32_t andRowBytes = 4;  // 32 pixels, one bit each, padded to 32 bits
  const uint32_t imageBytes = 40 + kCursorSize * kCursorSize * 4 + kCursorSize * andRowBytes;
  std::vector<uint8_t> b;
  // Icon directory of type 2 (cursor) with one entry; the entry holds the hot spot.
  Put16(b, 0);
  Put16(b, 2);
  Put16(b, 1);
  b.push_back(kCursorSize);
  b.push_back(kCursorSize);
  b.push_back(0);
  b.push_back(0);
  Put16(b, kHotX);
  Put16(b, kHotY);
  Put32(b, imageBytes);
  Put32(b, 6 + 16);
  // BITMAPINFOHEADER; the height counts the colour image and the AND mask.
  Put32(b, 40);
  Put32(b, kCursorSize);
  Put32(b, kCursorSize * 2);
  Put16(b, 1);
  Put16(b, 32);
  Put32(b, 0);
  Put32(b, kCursorSize * kCursorSize * 4 + kCursorSize * andRowBytes);
  for (int i = 0; i < 4; ++i) Put32(b, 0);
  PutPixels(b, c);
  // AND mask: a set bit lets the screen show through.
  for (int y = 0; y < kCursorSize; ++y)
    for (uint32_t byte = 0; byte < andRowBytes; ++byte) {
      uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit)
        if (To8(c.At(static_cast<int>(byte * 8) + bit, y).a) == 0) bits |= 0x80 >> bit;
      b.push_back(bits);
    }
  return b;
}

std::vector<uint8_t> MakeIconBmp(const Fonts& fonts) {
  constexpr int kSize = 64;
  Canvas c(kSize, kSize, Rgb8(150, 98, 52, 0.0f));
  DrawPieceDisc(c, fonts, 32, 32, U'帥', kRedInk, 31.5f / 38.5f);

  const uint32_t headerBytes = 14 + 108, pixelBytes = kSize * kSize * 4;
  std::vector<uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, headerBytes + pixelBytes);
  Put32(b, 0);
  Put32(b, headerBytes);
  // BITMAPV4HEADER with explicit masks, so readers take the fourth byte as alpha.
  Put32(b, 108);
  Put32(b, kSize);
  Put32(b, kSize);  // positive: rows bottom-up
  Put16(b, 1);
  Put16(b, 32);
  Put32(b, 3);  // BI_BITFIELDS
  Put32(b, pixelBytes);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 0x00FF0000);
  Put32(b, 0x0000FF00);
  Put32(b, 0x000000FF);
  Put32(b, 0xFF000000);
  Put32(b, 0x73524742);                      // 'sRGB'
  for (int i = 0; i < 12; ++i) Put32(b, 0);  // end points and gamma, unused for sRGB
  PutPixels(b, c);
  return b;
}

}  // namespace rq::art
