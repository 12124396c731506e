// Benchmark, not a test: the CPU time of one busy 1024x1024 frame (without the
// pause) under the software renderer.
#include <GL/gl.h>

#include <cstdio>
#include <ctime>

#include "player/guarded_game.h"
#include "render/scene.h"
#include "render/tga.h"
#include "scene_fixture.h"

namespace {

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

double WallSeconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// Everything a frame can show at once.
void BusyScene(rq::test::SceneFixture& f) {
  rq::GameApplication& a = *f.app;
  a.candidatesShown = true;
  a.candidateCount = 7;
  for (int i = 0; i < 7; ++i) a.candidateMoves[i] = rq::Move{81, static_cast<uint8_t>(36 + i), 0, 1 - i, 0};
  for (int i = 0; i < 9; ++i) a.eatenRed[i] = static_cast<uint8_t>(0x41 + i);
  a.eatenRedCount = 9;
  for (int i = 0; i < 5; ++i) a.eatenGreen[i] = static_cast<uint8_t>(0x21 + i);
  a.eatenGreenCount = 5;
  a.lastMove = rq::Move{64, 67, 0x23, 0, 0};
  a.draggedPiece = rq::DraggedPiece{0x46, 81, 0, 0};
  a.pointerX = 600;
  a.pointerY = 500;
  a.explanationShown = true;
  a.explanationReason = 3;
  a.menuVisible = true;
  a.menuHover = a.buttonDown = true;
  a.hoveredMenuItem = 2;
  a.computerMoveAnimating = true;
  a.animatedMove = rq::Move{1, 20, 0, 0, 0};
  a.animProgress = 0.4;
  rq::LockGame(a.game);
  a.game.usersTurn = false;
  a.game.progress = 0.7;
  a.game.record.depthLimit = 12;
  rq::UnlockGame(a.game);
}

}  // namespace

// The last frame as a TGA picture, to look at.
bool SaveFrame(const rq::test::OffscreenGl& gl, const char* path) {
  rq::TgaImage image;
  image.width = gl.width;
  image.height = gl.height;
  image.components = 4;
  image.pixels = gl.frame.pixels;
  for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
  return rq::WriteTgaImage(path, image);
}

// Usage: rq_frame_bench [picture.tga]
int main(int argc, char** argv) {
  rq::test::SceneFixture f;
  std::string why;
  if (!f.SetUp(why)) {
    std::fprintf(stderr, "frame bench: %s\n", why.c_str());
    return 1;
  }
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  std::printf("renderer: %s\n", renderer ? renderer : "?");
  for (int scene = 0; scene < 2; ++scene) {
    if (scene == 1) BusyScene(f);
    for (int i = 0; i < 5; ++i) f.Render();  // first binds upload the textures
    const int frames = 200;
    const double cpu0 = CpuSeconds(), wall0 = WallSeconds();
    for (int i = 0; i < frames; ++i) {
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      rq::DrawSceneElements(*f.app);
      glFinish();
    }
    const double cpu = (CpuSeconds() - cpu0) / frames, wall = (WallSeconds() - wall0) / frames;
    std::printf("frame 1024x1024, %s, %d frames: %.2f ms CPU, %.2f ms wall per frame\n",
                scene == 0 ? "opening position" : "busy scene", frames, cpu * 1000, wall * 1000);
  }
  if (argc > 1) {
    f.gl.ReadBack();
    if (!SaveFrame(f.gl, argv[1])) std::fprintf(stderr, "cannot write %s\n", argv[1]);
  }
  f.TearDown();
  return 0;
}
