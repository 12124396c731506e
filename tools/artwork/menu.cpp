// The command menu: one strip as it normally looks and one with every button
// pressed. The game draws the plain strip and lays the pressed strip's rows over
// it for the held item, so both strips share everything but the buttons' faces.
#include <numbers>

#include "artwork.h"

namespace rq::art {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kButtonX = 978;  // scene x of every button's centre
constexpr float kUndoY = 789, kRedoY = 703, kHelpY = 173, kRoundR = 33;
constexpr float kCapsuleTop = 619, kCapsuleBottom = 342, kCapsuleR = 34, kCapsuleSplit = 480.5f;
constexpr float kNewGameMiddle = 522.5f;  // between the label's two lines

const Rgba kGold = Rgb8(216, 174, 98), kLabel = Rgb8(250, 236, 204),
           kPressedLabel = Rgb8(255, 214, 128);

// Scene x to image u for a strip starting at u0 (scene x 912 is the strip's left edge).
struct Strip {
  Canvas& c;
  float u0;
  bool pressed;
  float U(float x) const { return x - 912 + u0; }
  Box Rows(float y0, float y1) const {
    return {static_cast<int>(u0), static_cast<int>(y0), static_cast<int>(u0) + 112,
            static_cast<int>(std::ceil(y1))};
  }
};

float SdCapsule(float x, float y) {
  return SdRoundBox(x, y, kButtonX, (kCapsuleTop + kCapsuleBottom) / 2, kCapsuleR,
                    (kCapsuleTop - kCapsuleBottom) / 2, kCapsuleR);
}

void DrawBackplate(Strip& s) {
  const float cy = 482, hh = 366, hw = 43, r = 24;
  s.c.Paint(s.Rows(100, 870), [&](float u, float y) {
    float x = u - s.u0 + 912;
    float d = SdRoundBox(x, y, kButtonX, cy, hw, hh, r);
    float n = Fbm(x * 0.02f, y * 0.25f, 9, 3);
    Rgba col = Scale(Mix(Rgb8(70, 34, 20), Rgb8(40, 18, 10), n), 1.0f - 0.15f * Smooth(-20, 0, d));
    col.a = 0.9f;
    return std::pair{col, Coverage(d)};
  });
  s.c.FillSdf(
      s.Rows(100, 870),
      [&](float u, float y) {
        float x = u - s.u0 + 912;
        return std::fabs(SdRoundBox(x, y, kButtonX, cy, hw - 4, hh - 4, r - 4)) - 0.7f;
      },
      WithAlpha(kGold, 0.85f));
  // Small separators between the groups of commands.
  for (float y : {640.0f, 268.0f})
    s.c.FillSdf(
        s.Rows(y - 4, y + 4),
        [&](float u, float yy) {
          float x = u - s.u0 + 912;
          return std::min(SdSegment(x, yy, kButtonX - 26, y, kButtonX - 6, y, 0.6f),
                          std::min(SdSegment(x, yy, kButtonX + 6, y, kButtonX + 26, y, 0.6f),
                                   SdCircle(x, yy, kButtonX, y, 2.0f)));
        },
        WithAlpha(kGold, 0.8f));
}

// A face lit from above; pressed, the light comes from below and the face darkens.
Rgba FaceColour(const Strip& s, float y, float top, float bottom) {
  float t = Clamp01((y - bottom) / (top - bottom));
  if (s.pressed) t = 1 - t;
  Rgba hi = Rgb8(150, 44, 30), lo = Rgb8(86, 20, 14);
  Rgba col = Mix(lo, hi, t);
  return s.pressed ? Scale(col, 0.72f) : col;
}

void DrawRoundButton(Strip& s, float cy) {
  Box rows = s.Rows(cy - kRoundR - 3, cy + kRoundR + 3);
  s.c.Paint(rows, [&](float u, float y) {
    float x = u - s.u0 + 912;
    float r = std::hypot(x - kButtonX, y - cy);
    Rgba col;
    if (r > kRoundR - 3.5f) {
      float lit = (y - cy) / std::max(r, 1.0f);
      col = Scale(kGold, 0.9f + 0.25f * (s.pressed ? -lit : lit));
    } else {
      col = FaceColour(s, y, cy + kRoundR, cy - kRoundR);
    }
    return std::pair{col, Coverage(r - kRoundR)};
  });
}

void DrawCapsule(Strip& s) {
  Box rows = s.Rows(kCapsuleBottom - 3, kCapsuleTop + 3);
  s.c.Paint(rows, [&](float u, float y) {
    float x = u - s.u0 + 912;
    float d = SdCapsule(x, y);
    Rgba col;
    if (d > -3.5f || std::fabs(y - kCapsuleSplit) < 1.6f) {
      float lit = y > kCapsuleSplit ? 1.0f : -0.3f;
      col = Scale(kGold, 0.95f + 0.15f * (s.pressed ? -lit : lit));
    } else if (y > kCapsuleSplit) {
      col = FaceColour(s, y, kCapsuleTop, kCapsuleSplit);
    } else {
      col = FaceColour(s, y, kCapsuleSplit, kCapsuleBottom);
    }
    return std::pair{col, Coverage(d)};
  });
}

// Icons are drawn into a mask in scene coordinates, then laid on the strip.
struct IconMask {
  Mask m{1024, 1024};
  void Add(Box b, auto sd) {
    for (int y = std::max(b.y0, 0); y < std::min(b.y1, 1024); ++y)
      for (int x = std::max(b.x0, 0); x < std::min(b.x1, 1024); ++x)
        m.Ref(x, y) = std::max(m.Ref(x, y), Coverage(sd(x + 0.5f, y + 0.5f)));
  }
};

// A curved arrow turning back (undo) or forward (redo) around (cx, cy).
void AddTurnArrow(IconMask& icon, float cx, float cy, bool forward) {
  const float R = 12, hw = 2.6f;
  const float start = -35 * kPi / 180, end = 205 * kPi / 180;  // counter-clockwise span
  Box box{static_cast<int>(cx) - 24, static_cast<int>(cy) - 24, static_cast<int>(cx) + 25,
          static_cast<int>(cy) + 25};
  auto mirror = [&](float x) { return forward ? 2 * cx - x : x; };
  icon.Add(box, [&](float x, float y) {
    float dx = mirror(x) - cx, dy = y - cy;
    float a = std::atan2(dy, dx);
    if (a < start) a += 2 * kPi;
    if (a >= start && a <= end) return std::fabs(std::hypot(dx, dy) - R) - hw;
    float d0 = std::hypot(dx - R * std::cos(start), dy - R * std::sin(start));
    float d1 = std::hypot(dx - R * std::cos(end), dy - R * std::sin(end));
    return std::min(d0, d1) - hw;
  });
  // Arrowhead at the end of the arc, along its tangent.
  float ex = cx + R * std::cos(end), ey = cy + R * std::sin(end);
  float tx = -std::sin(end), ty = std::cos(end), nx = -ty, ny = tx;
  std::vector<float> head = {ex + tx * 9,
                             ey + ty * 9,
                             ex + nx * 7.5f - tx * 2,
                             ey + ny * 7.5f - ty * 2,
                             ex - nx * 7.5f - tx * 2,
                             ey - ny * 7.5f - ty * 2};
  if (forward)
    for (size_t i = 0; i < head.size(); i += 2) head[i] = 2 * cx - head[i];
  icon.Add(box, [&](float x, float y) { return SdPolygon(x, y, head) - 0.3f; });
}

void AddGear(IconMask& icon, float cx, float cy) {
  Box box{static_cast<int>(cx) - 20, static_cast<int>(cy) - 20, static_cast<int>(cx) + 21,
          static_cast<int>(cy) + 21};
  icon.Add(box, [&](float x, float y) {
    float dx = x - cx, dy = y - cy, r = std::hypot(dx, dy), a = std::atan2(dy, dx);
    // Eight rounded teeth on a ring, with a hole in the middle.
    float tooth = 0.5f + 0.5f * std::cos(8 * a);
    float outer = 11.5f + 4.0f * Smooth(0.35f, 0.65f, tooth);
    float ring = std::max(r - outer, 5.0f - r);
    return ring;
  });
}

// A label centred on (kButtonX, cy), made smaller until it fits `maxWidth`.
void AddText(IconMask& icon, const Words& words, const std::u32string& text, float cy, float maxWidth, float size) {
  size *= words.scale;
  while (words.font->Measure(text, size, 0.6f) > maxWidth) size -= 0.25f;
  DrawCentred(icon.m, *words.font, text, kButtonX, cy, size, 0, 0.6f);
}

void LayIcon(Strip& s, const IconMask& icon, Box rows) {
  // Pressed icons sink a little and glow warmer.
  const int sx = s.pressed ? 1 : 0, sy = s.pressed ? -1 : 0;
  Rgba col = s.pressed ? kPressedLabel : kLabel;
  for (int y = std::max(rows.y0, 0); y < rows.y1; ++y)
    for (int x = 912; x < 1024; ++x) {
      float cov = icon.m.At(x - sx, y - sy);
      float shadow = icon.m.At(x - sx - 1, y - sy + 1);
      int u = static_cast<int>(s.U(static_cast<float>(x)));
      if (shadow > 0 && !s.pressed) s.c.Blend(u, y, Rgb8(20, 4, 2, 0.6f), shadow);
      if (cov > 0) s.c.Blend(u, y, col, cov);
    }
}

void DrawStrip(Strip s, const Fonts& fonts, const Words& words) {
  DrawBackplate(s);
  DrawRoundButton(s, kUndoY);
  DrawRoundButton(s, kRedoY);
  DrawRoundButton(s, kHelpY);
  DrawCapsule(s);

  IconMask icon;
  AddTurnArrow(icon, kButtonX, kUndoY + 5, false);
  AddText(icon, words, words.undo, kUndoY - 19, 40, 9);
  AddTurnArrow(icon, kButtonX, kRedoY + 5, true);
  AddText(icon, words, words.redo, kRedoY - 19, 40, 9);

  // One or two lines on the new-game button, 17 apart around its middle; one line larger.
  const float lines = static_cast<float>(words.newGame.size());
  for (size_t i = 0; i < words.newGame.size(); ++i)
    AddText(icon, words, words.newGame[i], kNewGameMiddle + 8.5f * (lines - 1) - 17 * i, 54, lines > 1 ? 12 : 14);
  AddGear(icon, kButtonX, 438);
  AddText(icon, words, words.settings, 398, 58, 10);

  DrawCentred(icon.m, fonts.serifBold, U"?", kButtonX, kHelpY + 5, 34);
  AddText(icon, words, words.help, kHelpY - 20, 40, 9);
  LayIcon(s, icon, {0, 100, 0, 870});

  // The new-game button carries a small red general.
  DrawPieceDisc(s.c, fonts, s.U(kButtonX) + (s.pressed ? 1 : 0), 570 - (s.pressed ? 1 : 0), U'帥',
                kRedInk, 0.46f);
}

}  // namespace

Canvas DrawMenu(const Fonts& fonts, const Words& words) {
  Canvas c(256, 1024, Rgb8(40, 18, 10, 0.0f));
  DrawStrip({c, 144, false}, fonts, words);
  DrawStrip({c, 16, true}, fonts, words);
  return c;
}

}  // namespace rq::art
