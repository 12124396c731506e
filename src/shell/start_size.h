// The side of the square client area at start-up, from the work area and the frame.
#pragma once

namespace rq {

// The window manager's frame in the terms the sizing rule was made for.
struct FrameMetrics {
  int caption = 23;  // title bar height above the top border
  int borderY = 1;   // horizontal frame edge
  int borderX = 1;   // vertical frame edge
};

// Frame metrics from the frame's four edges; the defaults when nothing is known.
FrameMetrics MetricsFromBorders(bool known, int top, int left, int bottom, int right);

// 1024 unless the work area is too small: on a landscape work area the height
// decides (less the caption and ten borders), otherwise the width (less ten borders).
int StartWindowSide(int workWidth, int workHeight, const FrameMetrics& frame,
                    int preferred = 1024);

}  // namespace rq
