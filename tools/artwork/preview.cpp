#include "preview.h"

#include <numbers>

#include "artwork.h"

namespace rq::art {

namespace {

Rgba Sample(const Canvas& tex, float u, float v) {
  // Bilinear with wrap-around, as the game's textures repeat.
  auto wrap = [](int i, int n) { return ((i % n) + n) % n; };
  u -= 0.5f;
  v -= 0.5f;
  int x0 = static_cast<int>(std::floor(u)), y0 = static_cast<int>(std::floor(v));
  float fx = u - x0, fy = v - y0;
  Rgba acc{};
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      const Rgba& p = tex.At(wrap(x0 + i, tex.Width()), wrap(y0 + j, tex.Height()));
      float w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
      // Weighted by alpha so transparent texels add no colour.
      acc.r += p.r * p.a * w;
      acc.g += p.g * p.a * w;
      acc.b += p.b * p.a * w;
      acc.a += p.a * w;
    }
  if (acc.a > 0) {
    acc.r /= acc.a;
    acc.g /= acc.a;
    acc.b /= acc.a;
  }
  return acc;
}

// The game's DrawTexturedRect: a w-by-h source block at (u0, v0) drawn into the
// rectangle at (x, y) of size dw by dh, tinted.
void Rect(Canvas& scene, const Canvas& tex, float x, float y, float dw, float dh, float u0,
          float v0, float w, float h, Rgba tint) {
  Box b{static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)),
        static_cast<int>(std::ceil(x + dw)), static_cast<int>(std::ceil(y + dh))};
  scene.Paint(b, [&](float px, float py) {
    float tx = (px - x) / dw, ty = (py - y) / dh;
    if (tx < 0 || tx > 1 || ty < 0 || ty > 1) return std::pair{Rgba{}, 0.0f};
    Rgba c = Sample(tex, u0 + tx * w, v0 + ty * h);
    return std::pair{Rgba{c.r * tint.r, c.g * tint.g, c.b * tint.b, c.a * tint.a}, 1.0f};
  });
}

struct Cell {
  int i, j;
};

void Piece(Canvas& s, const Canvas& atlas, Cell cell, float cx, float cy) {
  Rect(s, atlas, cx + 2 - 40, cy - 4 - 40, 80, 80, 280, 24, 80, 80, {1, 1, 1, 0.9f});
  Rect(s, atlas, cx - 40, cy - 40, 80, 80, 128.0f * cell.i + 24, 128.0f * cell.j + 24, 80, 80,
       {1, 1, 1, 1});
}

void Arrow(Canvas& s, const Canvas& atlas, float ax, float ay, float bx, float by) {
  float len = std::hypot(bx - ax, by - ay), dx = (bx - ax) / len, dy = (by - ay) / len;
  float nx = -dy, ny = dx;
  s.Paint({0, 0, 1024, 1024}, [&](float px, float py) {
    float along = (px - ax) * dx + (py - ay) * dy, across = (px - ax) * nx + (py - ay) * ny;
    if (across < -8 || across > 8 || along < -8 || along > len + 8) return std::pair{Rgba{}, 0.0f};
    float u = 433 + (across + 8) / 16 * 41;
    float v = along < 0 ? 62 - along / 8 * 20 : along <= len ? 62 : 62 - (along - len) / 8 * 21;
    Rgba c = Sample(atlas, u, v);
    c.a *= 0.5f;
    return std::pair{c, 1.0f};
  });
}

}  // namespace

Canvas ComposePreview(const Canvas& board, const Canvas& atlas, const Canvas& ball,
                      const Canvas& menu) {
  Canvas s(1024, 1024);
  Rect(s, board, 0, 0, 1024, 1024, 0, 0, board.Width(), board.Height(), {1, 1, 1, 1});

  // Captured pieces: red losses from the top left down, green losses from the bottom up.
  const Cell lostRed[] = {{0, 0}, {0, 0}, {3, 1}, {1, 1}};
  const Cell lostGreen[] = {{1, 2}, {0, 3}, {2, 2}};
  for (int n = 0; n < 4; ++n) {
    float x = -5 + 0.6f * 26, y = 834 + 0.6f * (20 - 78 * n);
    Rect(s, atlas, x, y, 48, 48, 280, 24, 80, 80, {1, 1, 1, 0.9f});
    Rect(s, atlas, -5 + 0.6f * 24, 834 + 0.6f * (24 - 78 * n), 48, 48, 128.0f * lostRed[n].i + 24,
         128.0f * lostRed[n].j + 24, 80, 80, {1, 1, 1, 1});
  }
  for (int n = 0; n < 3; ++n) {
    Rect(s, atlas, -5 + 0.6f * 26, 54 + 0.6f * (20 + 78 * n), 48, 48, 280, 24, 80, 80,
         {1, 1, 1, 0.9f});
    if (n == 2)
      Rect(s, atlas, -5 + 0.6f * 20.5f, 54 + 0.6f * (15.5f + 78 * n), 0.6f * 98.9f, 0.6f * 98.9f,
           435, 40, 43, 43, {1, 1, 1, 0.65f});
    Rect(s, atlas, -5 + 0.6f * 24, 54 + 0.6f * (24 + 78 * n), 48, 48, 128.0f * lostGreen[n].i + 24,
         128.0f * lostGreen[n].j + 24, 80, 80, {1, 1, 1, 1});
  }

  // A middle game: piece cells by board row (0 = green's back rank).
  struct Placed {
    int col, row;
    Cell cell;
  };
  const Placed position[] = {
      {0, 0, {2, 2}}, {1, 0, {0, 2}}, {2, 0, {1, 3}}, {3, 0, {2, 3}}, {4, 0, {3, 3}},
      {5, 0, {2, 3}}, {6, 0, {1, 3}}, {8, 0, {2, 2}}, {6, 2, {0, 2}}, {1, 2, {0, 3}},
      {4, 2, {0, 3}}, {2, 3, {1, 2}}, {4, 3, {1, 2}}, {6, 3, {1, 2}}, {8, 3, {1, 2}},
      {0, 6, {0, 0}}, {2, 6, {0, 0}}, {6, 6, {0, 0}}, {4, 5, {0, 0}}, {4, 7, {3, 2}},
      {7, 7, {3, 2}}, {0, 9, {1, 0}}, {2, 7, {3, 1}}, {2, 9, {0, 1}}, {3, 9, {1, 1}},
      {4, 9, {2, 1}}, {5, 9, {1, 1}}, {6, 9, {0, 1}}, {7, 9, {3, 1}}, {8, 8, {1, 0}},
  };
  for (const Placed& p : position) Piece(s, atlas, p.cell, SquareX(p.col), SquareY(p.row));
  Arrow(s, atlas, SquareX(1), SquareY(7) + 1, SquareX(4), SquareY(7) + 1);

  // Candidate markers of the chariot at (8, 8), one of each tint.
  const std::pair<Placed, Rgba> marks[] = {
      {{8, 7, {}}, {1, 1, 1, 0.7f}},    {{8, 6, {}}, {1, 1, 1, 0.7f}},
      {{8, 5, {}}, {1, 1, 0, 0.7f}},    {{8, 4, {}}, {0.5f, 0.5f, 1, 0.7f}},
      {{7, 8, {}}, {1, 0.5f, 0, 0.7f}}, {{6, 8, {}}, {0, 1, 1, 0.7f}},
      {{8, 3, {}}, {1, 1, 1, 0.5f}},
  };
  for (auto& [p, tint] : marks)
    Rect(s, atlas, SquareX(p.col) - 19, SquareY(p.row) - 22, 43, 43, 435, 40, 43, 43, tint);

  Rect(s, atlas, 256, 2, 512, 40, 0, 237, 512, 40, {1, 1, 1, 1});

  // The crystal ball at 60 % with its glow.
  Rect(s, ball, 20, 437, 78, 84, 1, 42, 78, 84, {1, 1, 1, 1});
  const float gx = 20 - 1 + 40, gy = 437 + 2.5f + 43, progress = 0.6f;
  s.Paint({0, 380, 140, 600}, [&](float px, float py) {
    float dx = px - gx, dy = py - gy;
    if (std::hypot(dx, dy) > 40) return std::pair{Rgba{}, 0.0f};
    float a = std::atan2(dx, dy) * 180 / std::numbers::pi_v<float>;
    if (a < 0) a += 360;
    if (a > progress * 360) return std::pair{Rgba{}, 0.0f};
    Rgba c = Sample(ball, 125 + dx, 87 + dy);
    return std::pair{Rgba{0, c.g * 0.8f, c.b * 0.2f, c.a * 0.5f}, 1.0f};
  });
  for (int i = 0; i < 7; ++i)
    Rect(s, atlas, 44 + 6.4f * (i % 5), 494 - 6.4f * (i / 5), 4.3f, 4.3f, 435, 40, 43, 43,
         {1, 1, 1, 1});

  // The menu, with the undo item held down.
  Rect(s, menu, 912, 0, 112, 1024, 144, 0, 112, 1024, {1, 1, 1, 1});
  Rect(s, menu, 912, 745, 112, 129, 16, 745, 112, 129, {1, 1, 1, 1});
  return s;
}

}  // namespace rq::art
