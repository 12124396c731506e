// An OpenGL 1.x compatibility context without a display: EGL on Mesa's software
// renderer, drawing into a pbuffer whose pixels the tests read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rq::test {

struct Rgb {
  int r, g, b;
};

// Pixels read back from a surface, RGBA, bottom row first.
struct Frame {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
  // Pixel (x, y), y counted upward from the bottom row, as GL counts.
  Rgb At(int x, int y) const;
};

struct OffscreenGl {
  void* display = nullptr;
  void* surface = nullptr;
  void* context = nullptr;
  int width = 0;
  int height = 0;
  Frame frame;  // after ReadBack
  std::string error;

  // Creates a width-by-height pbuffer and makes its context current; false with
  // `error` set when no such context can be had.
  bool Open(int w, int h);
  void Close();
  OffscreenGl() = default;
  ~OffscreenGl() { Close(); }
  OffscreenGl(const OffscreenGl&) = delete;
  OffscreenGl& operator=(const OffscreenGl&) = delete;

  // Reads the whole surface into `frame`.
  void ReadBack();
  Rgb At(int x, int y) const { return frame.At(x, y); }
};

}  // namespace rq::test
