// Glyph rendering through FreeType into coverage masks.
#pragma once

#include <string>

#include "canvas.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace rq::art {

struct InkBox {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // y upward, relative to the pen origin
  float Width() const { return x1 - x0; }
  float Height() const { return y1 - y0; }
};

class Font {
 public:
  Font() = default;
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  ~Font();

  bool Open(const std::string& path, int faceIndex);
  const std::string& Path() const { return path_; }
  // FreeType maps a missing character to glyph 0 and would draw a box.
  bool Has(char32_t c) const;

  // Advance width of a line of text at the given pixel size.
  float Measure(const std::u32string& text, float size, float tracking = 0) const;
  // Ink extent of a line of text, pen origin at (0, 0).
  InkBox Ink(const std::u32string& text, float size, float embolden = 0, float tracking = 0) const;
  // Adds the coverage of a line of text with its pen origin at (x, y) into m.
  void Draw(Mask& m, const std::u32string& text, float x, float y, float size, float embolden = 0,
            float tracking = 0) const;
  // SVG path data of a line of text centred by its ink box on (cx, cy), y downward.
  std::string SvgPath(const std::u32string& text, float cx, float cy, float size,
                      float embolden = 0) const;

 private:
  template <class F>
  void ForEachGlyph(const std::u32string& text, float size, float embolden, float tracking,
                    F f) const;

  FT_LibraryRec_* lib_ = nullptr;
  FT_FaceRec_* face_ = nullptr;
  std::string path_;
};

// Draws text centred on (cx, cy) by its ink box.
void DrawCentred(Mask& m, const Font& font, const std::u32string& text, float cx, float cy,
                 float size, float embolden = 0, float tracking = 0);

}  // namespace rq::art
