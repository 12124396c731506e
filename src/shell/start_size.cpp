#include "shell/start_size.h"

namespace rq {

FrameMetrics MetricsFromBorders(bool known, int top, int left, int bottom, int right) {
  // No window manager (or none that tells) leaves every edge at 0: keep the defaults.
  if (!known || top < 0 || left < 0 || bottom < 0 || right < 0 ||
      top + left + bottom + right == 0)
    return FrameMetrics{};
  FrameMetrics m;
  m.borderY = bottom;
  m.caption = top > bottom ? top - bottom : 0;
  m.borderX = left > right ? left : right;
  return m;
}

int StartWindowSide(int workWidth, int workHeight, const FrameMetrics& frame, int preferred) {
  const int v = frame.caption + 10 * (frame.borderY + 1);
  const int a = 10 * frame.borderX;
  int side = preferred;
  if (workWidth > workHeight) {
    if (side + v > workHeight) side = workHeight - v;
  } else if (side + a > workWidth) {
    side = workWidth - a;
  }
  // A work area smaller than its own allowances still gets a usable window.
  return side < 64 ? 64 : side;
}

}  // namespace rq
