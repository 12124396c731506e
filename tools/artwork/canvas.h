// Float RGBA canvas with anti-aliased shapes drawn from signed distances.
// Row 0 is the bottom row (y grows upward), as the game's textures are addressed.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "render/tga.h"

namespace rq::art {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba Rgb8(int r, int g, int b, float a = 1.0f) {
  return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

inline Rgba Mix(Rgba p, Rgba q, float t) {
  return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t,
          p.a + (q.a - p.a) * t};
}

inline Rgba Scale(Rgba c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }
inline Rgba WithAlpha(Rgba c, float a) { return {c.r, c.g, c.b, a}; }

inline float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float Smooth(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
// Pixel coverage of a shape from its signed distance (negative inside).
inline float Coverage(float d) { return Clamp01(0.5f - d); }

// Signed distances, in pixels.
inline float SdCircle(float x, float y, float cx, float cy, float r) {
  return std::hypot(x - cx, y - cy) - r;
}
float SdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth);
float SdRoundBox(float x, float y, float cx, float cy, float halfW, float halfH, float radius);
float SdPolygon(float x, float y, const std::vector<float>& xy);  // x0,y0,x1,y1,...

// Deterministic value noise in 0..1 and its fractal sum.
float ValueNoise(float x, float y, uint32_t seed);
float Fbm(float x, float y, uint32_t seed, int octaves);

// Coverage mask with the same layout as a canvas.
struct Mask {
  int width = 0, height = 0;
  std::vector<float> v;
  Mask(int w, int h) : width(w), height(h), v(static_cast<size_t>(w) * h, 0.0f) {}
  float At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0.0f;
    return v[static_cast<size_t>(y) * width + x];
  }
  float& Ref(int x, int y) { return v[static_cast<size_t>(y) * width + x]; }
  // Gaussian blur, for soft shadows and glows.
  Mask Blurred(float sigma) const;
};

struct Box {
  int x0, y0, x1, y1;  // half-open pixel range
};

class Canvas {
 public:
  Canvas(int w, int h, Rgba fill = {});

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgba& At(int x, int y) { return px_[static_cast<size_t>(y) * width_ + x]; }
  const Rgba& At(int x, int y) const { return px_[static_cast<size_t>(y) * width_ + x]; }

  // Straight-alpha "over" of colour c at the given coverage.
  void Blend(int x, int y, Rgba c, float coverage);

  // Calls f(px, py) at every pixel centre of the box (clipped); f returns
  // {colour, coverage} to blend there.
  template <class F>
  void Paint(Box box, F f) {
    Box b = Clip(box);
    for (int y = b.y0; y < b.y1; ++y)
      for (int x = b.x0; x < b.x1; ++x) {
        auto [c, cov] = f(x + 0.5f, y + 0.5f);
        if (cov > 0.0f) Blend(x, y, c, cov);
      }
  }
  // A shape given by its signed distance, in one colour.
  template <class F>
  void FillSdf(Box box, F sd, Rgba c) {
    Paint(box, [&](float x, float y) { return std::pair{c, Coverage(sd(x, y))}; });
  }
  // Blends colour c through a mask placed with its origin at (dx, dy).
  void FillMask(const Mask& m, Rgba c, int dx = 0, int dy = 0);

  Box Clip(Box b) const;
  rq::TgaImage ToTga(int components) const;

 private:
  int width_, height_;
  std::vector<Rgba> px_;
};

}  // namespace rq::art
