#include "canvas.h"

namespace rq::art {

float SdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
  float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? Clamp01((px * dx + py * dy) / len2) : 0.0f;
  return std::hypot(px - dx * t, py - dy * t) - halfWidth;
}

float SdRoundBox(float x, float y, float cx, float cy, float halfW, float halfH, float radius) {
  float qx = std::fabs(x - cx) - halfW + radius;
  float qy = std::fabs(y - cy) - halfH + radius;
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SdPolygon(float x, float y, const std::vector<float>& xy) {
  const size_t n = xy.size() / 2;
  float d = 1e30f;
  bool inside = false;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
    d = std::min(d, SdSegment(x, y, xi, yi, xj, yj, 0.0f));
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside ? -d : d;
}

namespace {

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^
               static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

float Lattice(int32_t x, int32_t y, uint32_t seed) {
  return static_cast<float>(Hash(x, y, seed) & 0xFFFFFF) / 16777215.0f;
}

}  // namespace

float ValueNoise(float x, float y, uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y);
  int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
  float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float x, float y, uint32_t seed, int octaves) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * ValueNoise(x, y, seed + 101u * i);
    norm += amp;
    x *= 2.03f;
    y *= 2.03f;
    amp *= 0.5f;
  }
  return sum / norm;
}

Mask Mask::Blurred(float sigma) const {
  const int radius = static_cast<int>(std::ceil(sigma * 3));
  std::vector<float> kernel(2 * radius + 1);
  float total = 0;
  for (int i = -radius; i <= radius; ++i)
    total += kernel[i + radius] = std::exp(-0.5f * i * i / (sigma * sigma));
  for (float& k : kernel) k /= total;

  Mask tmp(width, height), out(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float s = 0;
      for (int i = -radius; i <= radius; ++i) s += kernel[i + radius] * At(x + i, y);
      tmp.Ref(x, y) = s;
    }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float s = 0;
      for (int i = -radius; i <= radius; ++i) s += kernel[i + radius] * tmp.At(x, y + i);
      out.Ref(x, y) = s;
    }
  return out;
}

Canvas::Canvas(int w, int h, Rgba fill)
    : width_(w), height_(h), px_(static_cast<size_t>(w) * h, fill) {}

void Canvas::Blend(int x, int y, Rgba c, float coverage) {
  Rgba& d = At(x, y);
  float sa = Clamp01(c.a * coverage);
  if (sa <= 0) return;
  float oa = sa + d.a * (1 - sa);
  float k = d.a * (1 - sa);
  d.r = (c.r * sa + d.r * k) / oa;
  d.g = (c.g * sa + d.g * k) / oa;
  d.b = (c.b * sa + d.b * k) / oa;
  d.a = oa;
}

void Canvas::FillMask(const Mask& m, Rgba c, int dx, int dy) {
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x) {
      int tx = x + dx, ty = y + dy;
      float cov = m.At(x, y);
      if (cov > 0 && tx >= 0 && ty >= 0 && tx < width_ && ty < height_) Blend(tx, ty, c, cov);
    }
}

Box Canvas::Clip(Box b) const {
  return {std::max(b.x0, 0), std::max(b.y0, 0), std::min(b.x1, width_), std::min(b.y1, height_)};
}

rq::TgaImage Canvas::ToTga(int components) const {
  rq::TgaImage img;
  img.width = width_;
  img.height = height_;
  img.components = components;
  img.pixels.resize(static_cast<size_t>(width_) * height_ * components);
  auto to8 = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
  uint8_t* p = img.pixels.data();
  for (const Rgba& c : px_) {
    *p++ = to8(c.r);
    *p++ = to8(c.g);
    *p++ = to8(c.b);
    if (components == 4) *p++ = to8(c.a);
  }
  return img;
}

}  // namespace rq::art
