// The start-up size of the window and the frame metrics it is worked out from.
#include <gtest/gtest.h>

#include "shell/start_size.h"

namespace rq {
namespace {

TEST(StartSize, FollowsTheWorkAreaAndTheFrame) {
  const FrameMetrics windows{19, 1, 1};  // 19-pixel caption, 1-pixel borders: V = 39, A = 10
  const struct Case {
    const char* name;
    int width, height;
    FrameMetrics frame;
    int side;
  } cases[] = {
      {"landscape, 994 tall", 1280, 994, windows, 955},
      {"landscape with room for 1024 and the frame", 1920, 1063, windows, 1024},
      {"landscape one pixel short", 1920, 1062, windows, 1023},
      {"portrait, narrow", 900, 1600, windows, 890},
      {"portrait wide enough", 1034, 1900, windows, 1024},
      {"square counts as portrait: only the width decides", 1000, 1000, windows, 990},
      {"default frame on 1280x1024", 1280, 1024, FrameMetrics{}, 981},
      {"a work area smaller than its allowances", 40, 30, windows, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(StartWindowSide(c.width, c.height, c.frame), c.side);
  }
}

TEST(StartSize, FrameMetricsFromTheWindowManagersEdges) {
  const struct Case {
    const char* name;
    bool known;
    int top, left, bottom, right;
    int caption, borderY, borderX;
  } cases[] = {
      {"unknown", false, 30, 4, 4, 4, 23, 1, 1},
      {"no window manager: all edges 0", true, 0, 0, 0, 0, 23, 1, 1},
      {"a failed query", true, -1, 0, 0, 0, 23, 1, 1},
      {"title bar and thin frame", true, 28, 1, 1, 1, 27, 1, 1},
      {"thick frame", true, 34, 5, 6, 5, 28, 6, 5},
      {"frameless but for a title", true, 24, 0, 0, 0, 24, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FrameMetrics m = MetricsFromBorders(c.known, c.top, c.left, c.bottom, c.right);
    EXPECT_EQ(m.caption, c.caption);
    EXPECT_EQ(m.borderY, c.borderY);
    EXPECT_EQ(m.borderX, c.borderX);
  }
}

}  // namespace
}  // namespace rq
