#include "text.h"

#include <cstdio>
#include <initializer_list>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace rq::art {

Font::~Font() {
  if (face_) FT_Done_Face(face_);
  if (lib_) FT_Done_FreeType(lib_);
}

bool Font::Open(const std::string& path, int faceIndex) {
  if (!lib_ && FT_Init_FreeType(&lib_) != 0) return false;
  if (face_) FT_Done_Face(face_);
  face_ = nullptr;
  if (FT_New_Face(lib_, path.c_str(), faceIndex, &face_) != 0) {
    face_ = nullptr;
    return false;
  }
  path_ = path;
  return true;
}

bool Font::Has(char32_t c) const { return face_ && FT_Get_Char_Index(face_, c) != 0; }

// Calls f(outline, penX) for every glyph; the outline is scaled, emboldened and
// shifted to its pen position. Unhinted, so shapes keep their design at any size.
template <class F>
void Font::ForEachGlyph(const std::u32string& text, float size, float embolden, float tracking,
                        F f) const {
  if (!face_) return;
  FT_Set_Char_Size(face_, 0, static_cast<FT_F26Dot6>(std::lround(size * 64)), 72, 72);
  float pen = 0;
  for (char32_t c : text) {
    if (FT_Load_Glyph(face_, FT_Get_Char_Index(face_, c), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP))
      continue;
    FT_GlyphSlot slot = face_->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (embolden > 0) {
        FT_Outline_Embolden(&slot->outline, static_cast<FT_Pos>(std::lround(embolden * 64)));
        FT_Outline_Translate(&slot->outline, -static_cast<FT_Pos>(std::lround(embolden * 32)),
                             -static_cast<FT_Pos>(std::lround(embolden * 32)));
      }
      f(slot, pen);
    }
    pen += slot->advance.x / 64.0f + tracking;
  }
}

float Font::Measure(const std::u32string& text, float size, float tracking) const {
  if (!face_ || text.empty()) return 0;
  FT_Set_Char_Size(face_, 0, static_cast<FT_F26Dot6>(std::lround(size * 64)), 72, 72);
  float width = 0;
  for (char32_t c : text) {
    if (FT_Load_Glyph(face_, FT_Get_Char_Index(face_, c), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP))
      continue;
    width += face_->glyph->advance.x / 64.0f + tracking;
  }
  return width - tracking;
}

InkBox Font::Ink(const std::u32string& text, float size, float embolden, float tracking) const {
  InkBox box{1e9f, 1e9f, -1e9f, -1e9f};
  ForEachGlyph(text, size, embolden, tracking, [&](FT_GlyphSlot slot, float pen) {
    FT_BBox cb;
    FT_Outline_Get_CBox(&slot->outline, &cb);
    if (cb.xMax <= cb.xMin) return;
    box.x0 = std::min(box.x0, pen + cb.xMin / 64.0f);
    box.x1 = std::max(box.x1, pen + cb.xMax / 64.0f);
    box.y0 = std::min(box.y0, cb.yMin / 64.0f);
    box.y1 = std::max(box.y1, cb.yMax / 64.0f);
  });
  if (box.x1 < box.x0) return {};
  return box;
}

void Font::Draw(Mask& m, const std::u32string& text, float x, float y, float size, float embolden,
                float tracking) const {
  ForEachGlyph(text, size, embolden, tracking, [&](FT_GlyphSlot slot, float pen) {
    // Whole pixels go to the placement, the fraction into the outline.
    float gx = x + pen;
    int ix = static_cast<int>(std::floor(gx)), iy = static_cast<int>(std::floor(y));
    FT_Outline_Translate(&slot->outline, static_cast<FT_Pos>(std::lround((gx - ix) * 64)),
                         static_cast<FT_Pos>(std::lround((y - iy) * 64)));
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
    const FT_Bitmap& bm = slot->bitmap;
    for (unsigned row = 0; row < bm.rows; ++row)
      for (unsigned col = 0; col < bm.width; ++col) {
        int px = ix + slot->bitmap_left + static_cast<int>(col);
        int py = iy + slot->bitmap_top - 1 - static_cast<int>(row);
        if (px < 0 || py < 0 || px >= m.width || py >= m.height) continue;
        float cov = bm.buffer[row * bm.pitch + col] / 255.0f;
        float& dst = m.Ref(px, py);
        dst = std::min(1.0f, dst + cov);
      }
  });
}

namespace {

// Collects an outline as SVG path commands, mapped from FreeType's y-up 26.6 units.
struct PathWriter {
  std::string d;
  float x0, y0;  // where the outline's origin lands, y downward
  // Appends one point, mapped.
  void Point(const FT_Vector* v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.2f %.2f", x0 + v->x / 64.0f, y0 - v->y / 64.0f);
    d += buf;
  }
  // Appends a command letter with its points.
  void Command(char c, std::initializer_list<const FT_Vector*> points) {
    d += c;
    bool first = true;
    for (const FT_Vector* v : points) {
      if (!first) d += ' ';
      Point(v);
      first = false;
    }
  }
};

// FreeType's outline callbacks: each appends one command.
int MoveTo(const FT_Vector* to, void* w) {
  auto* p = static_cast<PathWriter*>(w);
  if (!p->d.empty()) p->d += 'Z';
  p->Command('M', {to});
  return 0;
}
int LineTo(const FT_Vector* to, void* w) {
  static_cast<PathWriter*>(w)->Command('L', {to});
  return 0;
}
int ConicTo(const FT_Vector* c, const FT_Vector* to, void* w) {
  static_cast<PathWriter*>(w)->Command('Q', {c, to});
  return 0;
}
int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* w) {
  static_cast<PathWriter*>(w)->Command('C', {c1, c2, to});
  return 0;
}

}  // namespace

std::string Font::SvgPath(const std::u32string& text, float cx, float cy, float size,
                          float embolden) const {
  const InkBox ink = Ink(text, size, embolden);
  std::string d;
  ForEachGlyph(text, size, embolden, 0, [&](FT_GlyphSlot slot, float pen) {
    PathWriter w{"", cx - (ink.x0 + ink.x1) / 2 + pen, cy + (ink.y0 + ink.y1) / 2};
    const FT_Outline_Funcs funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    if (FT_Outline_Decompose(&slot->outline, &funcs, &w) != 0) return;
    if (!w.d.empty()) d += w.d + 'Z';
  });
  return d;
}

void DrawCentred(Mask& m, const Font& font, const std::u32string& text, float cx, float cy,
                 float size, float embolden, float tracking) {
  InkBox ink = font.Ink(text, size, embolden, tracking);
  float x = cx - (ink.x0 + ink.x1) / 2;
  float y = cy - (ink.y0 + ink.y1) / 2;
  font.Draw(m, text, x, y, size, embolden, tracking);
}

}  // namespace rq::art
