// The pieces atlas: fourteen piece sprites, their shadow, the round marker and
// the three explanation banners, at the cells the drawing code addresses.
#include "artwork.h"

namespace rq::art {

namespace {

constexpr float kDiscRadius = 38.5f;
constexpr float kMarkerX = 454.5f, kMarkerY = 61.5f, kMarkerRadius = 19.5f;  // fits u 435..474

struct Sprite {
  int i, j;  // cell column and row; row 0 starts at v = 0
  char32_t glyph;
  bool red;
};

constexpr Sprite kSprites[] = {
    {0, 0, U'兵', true},  {1, 0, U'俥', true},  {0, 1, U'相', true},  {1, 1, U'仕', true},
    {2, 1, U'帥', true},  {3, 1, U'傌', true},  {3, 2, U'炮', true},  {0, 2, U'馬', false},
    {1, 2, U'卒', false}, {2, 2, U'車', false}, {0, 3, U'砲', false}, {1, 3, U'象', false},
    {2, 3, U'士', false}, {3, 3, U'將', false},
};

float CellCentre(int n) { return 128.0f * n + 64.0f; }

void DrawShadow(Canvas& c, float cx, float cy) {
  Mask disc(c.Width(), c.Height());
  for (int y = static_cast<int>(cy) - 48; y < cy + 48; ++y)
    for (int x = static_cast<int>(cx) - 48; x < cx + 48; ++x)
      disc.Ref(x, y) = Coverage(SdCircle(x + 0.5f, y + 0.5f, cx, cy, 36.0f));
  Mask soft = disc.Blurred(2.0f);
  // The sprite is cut at 40 from the centre: fade out before that edge.
  for (int y = 0; y < soft.height; ++y)
    for (int x = 0; x < soft.width; ++x)
      soft.Ref(x, y) *= 0.62f * Smooth(40.0f, 37.5f, std::hypot(x + 0.5f - cx, y + 0.5f - cy));
  c.FillMask(soft, Rgb8(24, 12, 4));
}

// White so that the drawing can tint it; a firm rim around a lighter fill, so
// the arrow shaft that stretches its middle row reads as a band with edges. A thin
// dark outline keeps every tint visible on the light board.
void DrawMarker(Canvas& c) {
  c.Paint({430, 36, 482, 88}, [](float x, float y) {
    float r = std::hypot(x - kMarkerX, y - kMarkerY);
    float rim = Smooth(12.5f, 16.0f, r);
    float shade = 0.88f + 0.12f * Clamp01(((kMarkerY - y) - (x - kMarkerX)) / 40.0f + 0.5f);
    float outline = Smooth(17.4f, 18.4f, r);
    Rgba col = Mix(Rgba{shade, shade, shade, 0.5f + 0.5f * rim}, Rgb8(40, 24, 12, 0.75f), outline);
    return std::pair{col, Coverage(r - kMarkerRadius)};
  });
}

struct Banner {
  int v0;
  Rgba dot;  // the tint that marks this reason on the board
};

void DrawBanner(Canvas& c, const Words& words, const Banner& b, const std::u32string& text) {
  const float cy = b.v0 + 20.0f;
  // Plate inset from the strip's edges so mipmaps do not pick up the sprites.
  c.FillSdf(
      {0, b.v0, 512, b.v0 + 40},
      [&](float x, float y) { return SdRoundBox(x, y, 256, cy, 250, 17.5f, 17.5f); },
      Rgb8(44, 24, 14, 0.9f));
  c.FillSdf(
      {0, b.v0, 512, b.v0 + 40},
      [&](float x, float y) {
        return std::fabs(SdRoundBox(x, y, 256, cy, 247, 14.5f, 14.5f)) - 0.7f;
      },
      Rgb8(214, 172, 96, 0.9f));
  c.FillSdf(
      {0, b.v0, 512, b.v0 + 40}, [&](float x, float y) { return SdCircle(x, y, 30, cy, 8.5f); },
      b.dot);
  c.FillSdf(
      {0, b.v0, 512, b.v0 + 40},
      [&](float x, float y) { return std::fabs(SdCircle(x, y, 30, cy, 8.5f)) - 0.6f; },
      Rgb8(255, 255, 255, 0.85f));

  const Font& font = *words.font;
  float size = 17.0f * words.scale;
  while (font.Measure(text, size) > 430.0f) size -= 0.25f;
  // Centred right of the dot, the baseline set by the capital height; a script without
  // capitals by the ink of its characters.
  Mask m(c.Width(), c.Height());
  InkBox ink = font.Ink(text, size);
  const float middle = words.scale > 1 ? (ink.y0 + ink.y1) / 2 : font.Ink(U"H", size).y1 / 2;
  font.Draw(m, text, 272.0f - (ink.x0 + ink.x1) / 2, std::round(cy - middle), size);
  c.FillMask(m, Rgb8(252, 238, 206));
}

}  // namespace

DiscGeometry PieceDiscGeometry(float s) {
  const float R = kDiscRadius * s;
  return {R, R - 3.6f * s, R - 0.5f * s, 30.5f * s, 0.6f * s, 0.9f * s, 44.0f * s, 0.9f * s};
}

void DrawPieceDisc(Canvas& c, const Fonts& fonts, float cx, float cy, char32_t glyph, Rgba ink,
                   float s) {
  const DiscGeometry g = PieceDiscGeometry(s);
  const float R = g.radius, face = g.face, ring = g.ring;
  const float lx = -0.6f, ly = 0.8f;  // light from the upper left
  const Box box{static_cast<int>(cx - R - 2), static_cast<int>(cy - R - 2),
                static_cast<int>(cx + R + 3), static_cast<int>(cy + R + 3)};
  c.Paint(box, [&](float x, float y) {
    float dx = x - cx, dy = y - cy, r = std::hypot(dx, dy);
    float lit = r > 0 ? (dx * lx + dy * ly) / r : 0;
    Rgba col;
    if (r > face) {
      // The turned edge: darker wood, lit on the upper left.
      float t = (r - face) / (R - face);
      col = Mix(kEdgeLight, kEdgeDark, t);
      col = Scale(col, 0.86f + 0.2f * lit);
    } else {
      float grain = Fbm(x * 0.05f / s, y * 0.5f / s, 11, 3);
      col = Mix(kFaceLight, kFaceDark, Clamp01(r / face * 0.7f + grain * 0.5f));
      col = Scale(col, 0.97f + 0.05f * lit * (r / face));
    }
    col.a = 1;
    return std::pair{col, Coverage(r - R)};
  });
  // Dark outline keeps the disc apart from the board's wood.
  c.FillSdf(
      box,
      [&](float x, float y) { return std::fabs(SdCircle(x, y, cx, cy, g.outline)) - g.outlineHalf; },
      kDiscOutline);
  c.FillSdf(
      box, [&](float x, float y) { return std::fabs(SdCircle(x, y, cx, cy, ring)) - g.ringHalf; },
      WithAlpha(ink, 0.95f));

  Mask glyphMask(c.Width(), c.Height());
  DrawCentred(glyphMask, fonts.cjk, std::u32string(1, glyph), cx, cy, g.glyphSize, g.embolden);
  // Cut into the wood: a faint light lip below right, then the ink.
  c.FillMask(glyphMask, kGlyphLip, 1, -1);
  c.FillMask(glyphMask, ink);
}

Canvas DrawPieces(const Fonts& fonts, const Words& words) {
  Canvas c(512, 512);
  // Transparent texels carry the edge colour, so filtering leaves no dark fringe.
  for (int y = 0; y < 512; ++y)
    for (int x = 0; x < 512; ++x) c.At(x, y) = Rgb8(150, 98, 52, 0.0f);

  for (const Sprite& s : kSprites)
    DrawPieceDisc(c, fonts, CellCentre(s.i), CellCentre(s.j), s.glyph, s.red ? kRedInk : kGreenInk,
                  1.0f);

  for (int y = 0; y < 128; ++y)
    for (int x = 256; x < 384; ++x) c.At(x, y) = Rgb8(24, 12, 4, 0.0f);
  DrawShadow(c, CellCentre(2), CellCentre(0));

  for (int y = 0; y < 128; ++y)
    for (int x = 384; x < 512; ++x) c.At(x, y) = Rgb8(255, 255, 255, 0.0f);
  DrawMarker(c);

  const Banner banners[] = {{364, Rgb8(128, 128, 255)}, {237, Rgb8(255, 128, 0)}, {111, Rgb8(0, 255, 255)}};
  for (int i = 0; i < 3; ++i) DrawBanner(c, words, banners[i], words.banners[i]);
  return c;
}

}  // namespace rq::art
