// The crystal ball on its stand, and the glow disc that fills it while the
// computer thinks (drawn tinted green by the game, so it is kept white here).
#include "artwork.h"

namespace rq::art {

namespace {

constexpr float kSphereX = 40, kSphereY = 89, kSphereR = 34;
constexpr float kDiscX = 125, kDiscY = 87, kDiscR = 40;

// Brass, lit from the left, with a bright band along each rounded part.
Rgba Brass(float x, float y, float cy, float halfH) {
  float lit = Clamp01((x - (kSphereX - 26)) / 52.0f);
  float band = 1 - std::fabs((y - cy) / halfH - 0.35f);
  Rgba col = Mix(Rgb8(236, 196, 112), Rgb8(120, 78, 30), lit * 0.9f);
  return Mix(col, Rgb8(255, 236, 170), 0.35f * Clamp01(band) * (1 - lit));
}

void DrawStand(Canvas& c) {
  // Foot, then a waisted stem rising into the cup that holds the sphere.
  c.Paint({0, 40, 90, 72}, [](float x, float y) {
    return std::pair{Brass(x, y, 47, 4.5f),
                     Coverage(SdRoundBox(x, y, kSphereX, 47, 27, 4.5f, 4.5f))};
  });
  c.Paint({0, 40, 90, 72}, [](float x, float y) {
    float t = Clamp01((y - 51) / 9);  // 0 at the foot, 1 under the cup
    float halfW = 8 + 11 * t * t;
    float d = std::max(std::fabs(x - kSphereX) - halfW, std::fabs(y - 56) - 5);
    return std::pair{Brass(x, y, 56, 5), Coverage(d)};
  });
  c.FillSdf(
      {0, 40, 90, 72}, [](float x, float y) { return SdSegment(x, y, 16, 51.6f, 64, 51.6f, 0.5f); },
      Rgb8(70, 44, 16, 0.6f));
}

void DrawSphere(Canvas& c) {
  c.Paint({0, 50, 90, 128}, [](float x, float y) {
    float dx = (x - kSphereX) / kSphereR, dy = (y - kSphereY) / kSphereR;
    float r = std::hypot(dx, dy);
    float mist = Fbm(x * 0.09f + dy * 2, y * 0.09f - dx * 2, 31, 4);
    Rgba deep = Rgb8(22, 18, 58), mid = Rgb8(74, 66, 148), mistCol = Rgb8(150, 190, 230);
    Rgba col = Mix(mid, deep, Smooth(0.2f, 1.0f, r));
    col = Mix(col, mistCol, 0.45f * Smooth(0.45f, 0.8f, mist) * (1 - r * 0.6f));
    // Light caught in the glass: a rim on the lower right, a bright window upper left.
    float rim = Smooth(0.75f, 1.0f, r) * Clamp01(0.3f + dx - dy);
    col = Mix(col, Rgb8(170, 190, 255), 0.55f * rim);
    float hl = std::hypot(dx + 0.36f, (dy - 0.4f) * 1.3f);
    col = Mix(col, Rgb8(255, 255, 255), 0.9f * Smooth(0.28f, 0.05f, hl));
    float hl2 = std::hypot(dx - 0.42f, dy + 0.5f);
    col = Mix(col, Rgb8(220, 235, 255), 0.35f * Smooth(0.16f, 0.0f, hl2));
    col.a = 0.96f;
    return std::pair{col, Coverage((r - 1) * kSphereR)};
  });
  // The cup's rim in front of the glass.
  c.Paint({0, 50, 90, 72}, [](float x, float y) {
    float d = SdRoundBox(x, y, kSphereX, 61.5f, 18, 2.6f, 2.6f);
    return std::pair{Brass(x, y, 61.5f, 2.6f), Coverage(d)};
  });
}

void DrawGlowDisc(Canvas& c) {
  c.Paint({80, 42, 172, 128}, [](float x, float y) {
    float dx = x - kDiscX, dy = y - kDiscY, r = std::hypot(dx, dy);
    float ang = std::atan2(dy, dx);
    // Swirling light: noise sampled along a spiral, brightest in the middle.
    float swirl =
        Fbm(r * 0.12f + std::cos(ang + r * 0.08f) * 2.2f, std::sin(ang + r * 0.08f) * 2.2f, 47, 4);
    float body = 0.55f + 0.45f * Smooth(30, 0, r);
    float a = body * (0.75f + 0.45f * swirl) * Smooth(kDiscR, kDiscR - 7, r);
    float w = 0.85f + 0.15f * Smooth(24, 0, r);
    return std::pair{Rgba{w, w, w, Clamp01(a)}, 1.0f};
  });
}

}  // namespace

Canvas DrawCrystalBall() {
  Canvas c(256, 128, Rgb8(60, 56, 120, 0.0f));
  DrawStand(c);
  DrawSphere(c);
  for (int y = 40; y < 128; ++y)
    for (int x = 82; x < 172; ++x) c.At(x, y) = Rgba{1, 1, 1, 0};
  DrawGlowDisc(c);
  return c;
}

}  // namespace rq::art
