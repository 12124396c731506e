// The board picture: a light playing board on a darker table, with room left
// for the captured pieces and the crystal ball on the left and the menu on the right.
#include "artwork.h"

namespace rq::art {

namespace {

constexpr float kPlankMargin = 44;  // from the outer grid lines to the board's edge
constexpr float kPlankX0 = kOriginX - kPlankMargin, kPlankX1 = kOriginX + 8 * kPitch + kPlankMargin;
constexpr float kPlankY0 = kOriginY - 9 * kPitch - kPlankMargin, kPlankY1 = kOriginY + kPlankMargin;
constexpr float kPlankCx = (kPlankX0 + kPlankX1) / 2, kPlankCy = (kPlankY0 + kPlankY1) / 2;
constexpr float kPlankHw = (kPlankX1 - kPlankX0) / 2, kPlankHh = (kPlankY1 - kPlankY0) / 2;
constexpr float kBallX = 59, kBallY = 483;  // where the crystal ball stands

float SdPlank(float x, float y) {
  return SdRoundBox(x, y, kPlankCx, kPlankCy, kPlankHw, kPlankHh, 6);
}

// Long-grained wood: growth lines bent by low-frequency noise, fine fibres along x.
float Grain(float x, float y, uint32_t seed, float lineScale) {
  float warp = Fbm(x * 0.0022f, y * 0.011f, seed, 4) * 2 - 1;
  float t = y * lineScale + warp * 5.0f + Fbm(x * 0.008f, y * 0.04f, seed + 7, 3) * 1.2f;
  float ring = t - std::floor(t);
  float line = std::pow(Smooth(0.55f, 1.0f, ring), 3.0f) + 0.35f * Smooth(0.3f, 0.0f, ring);
  float fibre = Fbm(x * 0.015f, y * 0.7f, seed + 13, 2);
  return Clamp01(0.55f * line + 0.45f * fibre + 0.25f * warp);
}

class LineMask {
 public:
  explicit LineMask(Mask& m) : m_(m) {}
  void Segment(float ax, float ay, float bx, float by, float halfWidth) {
    int x0 = static_cast<int>(std::min(ax, bx) - halfWidth - 2);
    int x1 = static_cast<int>(std::max(ax, bx) + halfWidth + 3);
    int y0 = static_cast<int>(std::min(ay, by) - halfWidth - 2);
    int y1 = static_cast<int>(std::max(ay, by) + halfWidth + 3);
    for (int y = std::max(y0, 0); y < std::min(y1, m_.height); ++y)
      for (int x = std::max(x0, 0); x < std::min(x1, m_.width); ++x) {
        float cov = Coverage(SdSegment(x + 0.5f, y + 0.5f, ax, ay, bx, by, halfWidth));
        m_.Ref(x, y) = std::max(m_.Ref(x, y), cov);
      }
  }
  // The corner marks around a soldier's or cannon's point; edge points get one side.
  void PointMark(int column, int row) {
    const float cx = SquareX(column), cy = SquareY(row), gap = 6, arm = 15, hw = 1.1f;
    for (int sx : {-1, 1}) {
      if ((column == 0 && sx < 0) || (column == 8 && sx > 0)) continue;
      for (int sy : {-1, 1}) {
        float x = cx + sx * gap, y = cy + sy * gap;
        Segment(x, y, x + sx * arm, y, hw);
        Segment(x, y, x, y + sy * arm, hw);
      }
    }
  }

 private:
  Mask& m_;
};

void DrawTable(Canvas& c) {
  c.Paint({0, 0, 1024, 1024}, [](float x, float y) {
    float g = Grain(y * 0.8f, x * 1.1f, 3, 0.045f);  // runs up and down, unlike the board
    Rgba col = Mix(Rgb8(104, 58, 32), Rgb8(58, 30, 16), g);
    // Darker towards the window's edge, like a vignette under lamplight.
    float ex = std::min(x, 1024 - x), ey = std::min(y, 1024 - y);
    col = Scale(col, 0.78f + 0.22f * Smooth(0, 60, std::min(ex, ey)));
    return std::pair{col, 1.0f};
  });
}

void DrawPlank(Canvas& c) {
  // Drop shadow onto the table, lit from the upper left.
  Mask shape(1024, 1024);
  for (int y = 0; y < 1024; ++y)
    for (int x = 0; x < 1024; ++x) shape.Ref(x, y) = Coverage(SdPlank(x + 0.5f, y + 0.5f));
  Mask shadow = shape.Blurred(7);
  c.FillMask(shadow, Rgb8(16, 8, 2, 0.7f), 5, -7);

  c.Paint({0, 0, 1024, 1024}, [](float x, float y) {
    float d = SdPlank(x, y);
    if (d > 1) return std::pair{Rgba{}, 0.0f};
    float g = Grain(x, y, 21, 0.028f);
    Rgba col = Mix(Rgb8(234, 186, 116), Rgb8(198, 138, 70), g);
    // A warm glow in the middle of the board, a little darker to its edges.
    float dx = (x - kPlankCx) / kPlankHw, dy = (y - kPlankCy) / kPlankHh;
    col = Scale(col, 1.03f - 0.08f * (dx * dx + dy * dy));
    // Bevelled edge: a light lip on the upper and left sides, shade on the others.
    if (d > -7) {
      float gx = SdPlank(x + 1, y) - SdPlank(x - 1, y), gy = SdPlank(x, y + 1) - SdPlank(x, y - 1);
      float len = std::hypot(gx, gy);
      float lit = len > 0 ? (-0.6f * gx + 0.8f * gy) / len : 0;
      float k = Smooth(-7, 0, d);
      col = Scale(col, 1 + 0.22f * lit * k - 0.06f * k);
    }
    col.a = 1;
    return std::pair{col, Coverage(d)};
  });
}

void DrawGrid(Canvas& c, const Fonts& fonts) {
  Mask m(1024, 1024);
  LineMask lines(m);
  const float left = SquareX(0), right = SquareX(8), top = SquareY(0), bottom = SquareY(9);
  for (int row = 1; row < 9; ++row) lines.Segment(left, SquareY(row), right, SquareY(row), 1.1f);
  for (int col = 1; col < 8; ++col) {
    lines.Segment(SquareX(col), top, SquareX(col), SquareY(4), 1.1f);
    lines.Segment(SquareX(col), SquareY(5), SquareX(col), bottom, 1.1f);
  }
  // Bold outer lines, then a thin frame line just outside them.
  const float bold = 2.2f, frame = 9;
  lines.Segment(left - bold, top, right + bold, top, bold);
  lines.Segment(left - bold, bottom, right + bold, bottom, bold);
  lines.Segment(left, top, left, bottom, bold);
  lines.Segment(right, top, right, bottom, bold);
  lines.Segment(left - frame, top + frame, right + frame, top + frame, 0.9f);
  lines.Segment(left - frame, bottom - frame, right + frame, bottom - frame, 0.9f);
  lines.Segment(left - frame, top + frame, left - frame, bottom - frame, 0.9f);
  lines.Segment(right + frame, top + frame, right + frame, bottom - frame, 0.9f);
  // Palaces.
  for (int r0 : {0, 7}) {
    lines.Segment(SquareX(3), SquareY(r0), SquareX(5), SquareY(r0 + 2), 1.0f);
    lines.Segment(SquareX(5), SquareY(r0), SquareX(3), SquareY(r0 + 2), 1.0f);
  }
  for (int row : {3, 6})
    for (int col = 0; col <= 8; col += 2) lines.PointMark(col, row);
  for (int row : {2, 7})
    for (int col : {1, 7}) lines.PointMark(col, row);

  // The river's words, cut into the wood.
  const float riverY = (SquareY(4) + SquareY(5)) / 2;
  const std::pair<char32_t, float> words[] = {
      {U'楚', 512 - 252}, {U'河', 512 - 162}, {U'漢', 512 + 162}, {U'界', 512 + 252}};
  Mask river(1024, 1024);
  for (auto [glyph, x] : words)
    DrawCentred(river, fonts.cjk, std::u32string(1, glyph), x, riverY, 60, 0.6f);
  c.FillMask(river, Rgb8(255, 236, 200, 0.45f), 1, -1);
  c.FillMask(river, Rgb8(92, 48, 22, 0.88f));

  c.FillMask(m, Rgb8(255, 236, 200, 0.25f), 1, -1);
  c.FillMask(m, Rgb8(66, 34, 16, 0.94f));
}

// A felt-lined brass cup on the table where the crystal ball stands; the
// search-depth dots show on its dark felt even when the ball is away.
void DrawBallCup(Canvas& c) {
  c.FillSdf(
      {0, 400, 140, 580},
      [](float x, float y) { return SdCircle(x, y, kBallX + 2, kBallY - 3, 37); },
      Rgb8(10, 5, 2, 0.35f));
  c.Paint({0, 400, 140, 580}, [](float x, float y) {
    float dx = x - kBallX, dy = y - kBallY, r = std::hypot(dx, dy);
    float lit = r > 0 ? (-0.6f * dx + 0.8f * dy) / r : 0;
    Rgba col;
    if (r > 31) {
      col = Scale(Rgb8(196, 150, 72), 0.8f + 0.3f * lit);
    } else {
      float n = Fbm(x * 0.4f, y * 0.4f, 5, 2);
      col = Scale(Rgb8(34, 40, 58),
                  0.8f + 0.25f * n - 0.25f * Smooth(20, 31, r) * (0.5f + 0.5f * lit));
    }
    return std::pair{col, Coverage(r - 35)};
  });
}

void DrawTitle(Canvas& c, const Fonts& fonts) {
  const std::u32string title = U"RAVENQUILL";
  const float size = 30, tracking = 9, cy = 977;
  Mask m(1024, 1024);
  DrawCentred(m, fonts.serifBold, title, 512, cy, size, 0, tracking);
  float half = fonts.serifBold.Measure(title, size, tracking) / 2;
  LineMask lines(m);
  for (int s : {-1, 1}) {
    lines.Segment(512 + s * (half + 24), cy, 512 + s * (half + 130), cy, 0.8f);
    lines.Segment(512 + s * (half + 14), cy, 512 + s * (half + 18), cy, 2.0f);
  }
  c.FillMask(m, Rgb8(20, 10, 4, 0.6f), 1, -1);
  c.FillMask(m, Rgb8(226, 186, 110));
}

}  // namespace

Canvas DrawBoard(const Fonts& fonts) {
  Canvas c(1024, 1024);
  DrawTable(c);
  DrawPlank(c);
  DrawGrid(c, fonts);
  DrawBallCup(c);
  DrawTitle(c, fonts);
  return c;
}

}  // namespace rq::art
