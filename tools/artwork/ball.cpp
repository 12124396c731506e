// The crystal ball on its stand, and the glow disc that fills it while the
// computer thinks (drawn tinted green by the game, so it is kept white here).
#include "artwork.h"

namespace rq::art {

namespace {

constexpr float kSphereX = 40, kSphereY = 89, kSphereR = 34;
constexpr float kDiscX = 125, kDiscY = 87, kDiscR = 40;

void DrawStand(Canvas& c) {
  const Rgba brass = Rgb8(196, 146, 66), dark = Rgb8(104, 66, 26);
  auto shaded = [&](float x, float y, float top, float bottom) {
    float lit = Clamp01((x - (kSphereX - 20)) / 40.0f);
    float k = 1.15f - 0.55f * lit + 0.15f * Clamp01((y - bottom) / (top - bottom));
    return Scale(Mix(brass, dark, 0.2f), k);
  };
  // Foot, stem and the cup that holds the sphere.
  c.Paint({0, 40, 90, 72}, [&](float x, float y) {
    float d = SdRoundBox(x, y, kSphereX, 47, 27, 4.5f, 4.5f);
    d = std::min(d, SdRoundBox(x, y, kSphereX, 53.5f, 20, 2.5f, 2.5f));
    d = std::min(d, SdRoundBox(x, y, kSphereX, 58, 9, 4, 2));
    return std::pair{shaded(x, y, 60, 42), Coverage(d)};
  });
  c.FillSdf({0, 40, 90, 72}, [](float x, float y) { return SdSegment(x, y, 14, 51.4f, 66, 51.4f, 0.6f); },
            Rgb8(255, 230, 160, 0.5f));
  (void)dark;
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
  // The cup's front lip in front of the glass.
  c.Paint({0, 50, 90, 72}, [](float x, float y) {
    float d = SdRoundBox(x, y, kSphereX, 61.5f, 17, 3, 3);
    float lit = Clamp01((x - (kSphereX - 17)) / 34.0f);
    return std::pair{Scale(Rgb8(206, 156, 74), 1.15f - 0.5f * lit), Coverage(d)};
  });
}

void DrawGlowDisc(Canvas& c) {
  c.Paint({80, 42, 172, 128}, [](float x, float y) {
    float dx = x - kDiscX, dy = y - kDiscY, r = std::hypot(dx, dy);
    float ang = std::atan2(dy, dx);
    // Swirling light: noise sampled along a spiral, brightest in the middle.
    float swirl = Fbm(r * 0.12f + std::cos(ang + r * 0.08f) * 2.2f,
                      std::sin(ang + r * 0.08f) * 2.2f, 47, 4);
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
