// The pointer shown over the command menu (an arrow with a plus sign, as a
// Windows .cur file), the window icon (a red general, as a 32-bit BMP) and the
// desktop's icon (the same general, at the theme's sizes and as SVG).
#include <cstdio>

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

// The icon's disc fills 31.5 of every 64 pixels' half width; the clear ground around it
// carries the edge's colour, so scaling leaves no dark fringe.
constexpr float kIconDiscScale = 31.5f / 38.5f;
constexpr Rgba kClearGround = Rgb8(150, 98, 52, 0.0f);

// The canvas averaged down by `k` in each direction, weighting colour by alpha.
Canvas Reduced(const Canvas& big, int k) {
  Canvas small(big.Width() / k, big.Height() / k, kClearGround);
  for (int y = 0; y < small.Height(); ++y)
    for (int x = 0; x < small.Width(); ++x) {
      Rgba sum;
      for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i) {
          const Rgba& p = big.At(x * k + i, y * k + j);
          sum = {sum.r + p.r * p.a, sum.g + p.g * p.a, sum.b + p.b * p.a, sum.a + p.a};
        }
      if (sum.a > 0) small.At(x, y) = {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / (k * k)};
    }
  return small;
}

// A colour as SVG writes it, without its alpha.
std::string Hex(Rgba c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", To8(c.r), To8(c.g), To8(c.b));
  return buf;
}

// A coordinate or fraction with two decimals, enough at 64 units.
std::string Num(float v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

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
  Canvas c(kSize, kSize, kClearGround);
  DrawPieceDisc(c, fonts, 32, 32, U'帥', kRedInk, kIconDiscScale);

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

// Drawn some 256 pixels large and averaged down, so that at the small sizes the thin rings
// and strokes become shades instead of dropping out.
Canvas DrawIcon(const Fonts& fonts, int size) {
  const int k = std::max(1, 256 / size), side = size * k;
  Canvas big(side, side, kClearGround);
  DrawPieceDisc(big, fonts, side / 2.0f, side / 2.0f, U'帥', kRedInk, kIconDiscScale * side / 64);
  return k == 1 ? big : Reduced(big, k);
}

// The same disc on a 64-unit square: the wood in gradients (no grain), the character as the
// font's own outline.
std::string MakeIconSvg(const Fonts& fonts) {
  const DiscGeometry g = PieceDiscGeometry(kIconDiscScale);
  const std::string glyph = fonts.cjk.SvgPath(U"帥", 32, 32, g.glyphSize, g.embolden);
  const auto circle = [](float r, const std::string& paint) {
    return "  <circle cx=\"32\" cy=\"32\" r=\"" + Num(r) + "\" " + paint + "/>\n";
  };
  const auto ring = [](float halfWidth, Rgba c) {
    return "fill=\"none\" stroke=\"" + Hex(c) + "\" stroke-opacity=\"" + Num(c.a) +
           "\" stroke-width=\"" + Num(2 * halfWidth) + "\"";
  };
  const Rgba ink = WithAlpha(kRedInk, 0.95f);
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
      "  <defs>\n"
      "    <radialGradient id=\"edge\" cx=\"32\" cy=\"32\" r=\"" + Num(g.radius) +
      "\" gradientUnits=\"userSpaceOnUse\">\n"
      "      <stop offset=\"" + Num(g.face / g.radius) + "\" stop-color=\"" + Hex(kEdgeLight) + "\"/>\n"
      "      <stop offset=\"1\" stop-color=\"" + Hex(kEdgeDark) + "\"/>\n"
      "    </radialGradient>\n"
      "    <radialGradient id=\"face\" cx=\"32\" cy=\"32\" r=\"" + Num(g.face) +
      "\" gradientUnits=\"userSpaceOnUse\">\n"
      "      <stop offset=\"0\" stop-color=\"" + Hex(kFaceLight) + "\"/>\n"
      "      <stop offset=\"1\" stop-color=\"" + Hex(kFaceDark) + "\"/>\n"
      "    </radialGradient>\n"
      "    <linearGradient id=\"light\" x1=\"0.2\" y1=\"0.1\" x2=\"0.8\" y2=\"0.9\">\n"
      "      <stop offset=\"0\" stop-color=\"#ffffff\" stop-opacity=\"0.12\"/>\n"
      "      <stop offset=\"1\" stop-color=\"#000000\" stop-opacity=\"0.14\"/>\n"
      "    </linearGradient>\n"
      "  </defs>\n";
  svg += circle(g.radius, "fill=\"url(#edge)\"");
  svg += circle(g.radius, "fill=\"url(#light)\"");  // the turned edge, lit on the upper left
  svg += circle(g.face, "fill=\"url(#face)\"");
  svg += circle(g.outline, ring(g.outlineHalf, kDiscOutline));
  svg += circle(g.ring, ring(g.ringHalf, ink));
  svg += "  <path transform=\"translate(1 1)\" fill=\"" + Hex(kGlyphLip) + "\" fill-opacity=\"" +
         Num(kGlyphLip.a) + "\" d=\"" + glyph + "\"/>\n";
  svg += "  <path fill=\"" + Hex(kRedInk) + "\" d=\"" + glyph + "\"/>\n";
  svg += "</svg>\n";
  return svg;
}

}  // namespace rq::art
