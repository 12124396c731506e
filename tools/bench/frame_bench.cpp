// Benchmark: the CPU time of one 1024x1024 frame (without the pause) under the
// software renderer, for the opening position, the pointer resting on a piece, and
// everything shown at once; each with the backdrop drawn whole and laid back from its copy.
#include <GL/gl.h>

#include <cstdio>
#include <ctime>

#include "interaction/interaction.h"
#include "offscreen_gl.h"
#include "player/guarded_game.h"
#include "render/backdrop.h"
#include "render/scene.h"

namespace {

// A desktop that is never asked anything during a frame; its clock stands still.
class StillPlatform : public rq::Platform {
 public:
  std::string ComputerName() override { return "BENCH"; }
  rq::MessageAnswer ShowMessage(const char*, const char*, rq::MessageButtons, rq::MessageIcon) override {
    return rq::MessageAnswer::Ok;
  }
  bool ChooseFileToSave(const char*, const std::string&, std::string&) override { return false; }
  rq::CursorHandle SystemCursor(rq::CursorKind) override { return nullptr; }
  rq::CursorHandle CursorFromFile(const char*) override { return nullptr; }
  void SetCursor(rq::CursorHandle) override {}
  int32_t ElapsedMilliseconds() override { return 10000; }
  void Sleep(int32_t) override {}
  bool OpenUrl(const std::string&) override { return false; }
  bool RunSettingsDialog(rq::SettingsValues&) override { return false; }
  bool ShowMoveList(const rq::MoveListRow*, int32_t) override { return false; }
  void UpdateMoveList(const rq::MoveListRow*, int32_t) override {}
  void CloseMoveList() override {}
  rq::MoveListRequest TakeMoveListRequest(std::string&) override { return rq::MoveListRequest::NoRequest; }
  bool CopyToClipboard(const std::string&) override { return false; }
  bool PasteFromClipboard(std::string&) override { return false; }
  bool ChooseGameFile(std::string&) override { return false; }
  int ChooseGame(const std::vector<rq::GameListEntry>&) override { return -1; }
};

double Seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// The pointer resting on red's left cannon: its twelve markers pulse.
void HoverScene(rq::GameApplication& a) { rq::OnPointerMove(a, 242, 770); }

// Everything a frame can show at once.
void BusyScene(rq::GameApplication& a) {
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
  a.menuVisible = a.menuHover = a.buttonDown = true;
  a.hoveredMenuItem = 2;
  a.computerMoveAnimating = true;
  a.animatedMove = rq::Move{1, 20, 0, 0, 0};
  a.animProgress = 0.4;
  rq::GameLockGuard hold(a.game);
  a.game.usersTurn = false;
  a.game.progress = 0.7;
  a.game.record.depthLimit = 12;
}

// CPU milliseconds of one frame, over `frames` frames; `whole` draws the backdrop anew each time.
double FrameMilliseconds(rq::OffscreenScene& scene, int frames, bool whole) {
  for (int i = 0; i < 5; ++i) scene.Render();  // the first binds upload the textures
  const double cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
  for (int i = 0; i < frames; ++i) {
    if (whole) rq::ForgetBackdrop();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    rq::DrawSceneElements(*scene.app);
    glFinish();
  }
  return (Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0) / frames * 1000;
}

}  // namespace

// Usage: rq_frame_bench [picture.png]
int main(int argc, char** argv) {
  StillPlatform platform;
  rq::OffscreenScene scene;
  std::string why;
  if (!scene.Open(platform, 1024, why)) {
    std::fprintf(stderr, "frame bench: %s\n", why.c_str());
    return 1;
  }
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  std::printf("renderer: %s\n", renderer ? renderer : "?");
  const int frames = 200;
  std::printf("frame 1024x1024, CPU per frame over %d frames: backdrop drawn whole | laid back from its copy\n", frames);
  const struct {
    const char* name;
    void (*set)(rq::GameApplication&);
  } cases[] = {{"opening position", [](rq::GameApplication&) {}}, {"pointer on a piece", HoverScene}, {"busy scene", BusyScene}};
  for (const auto& c : cases) {
    c.set(scene.Restart());
    const double whole = FrameMilliseconds(scene, frames, true);
    const double kept = FrameMilliseconds(scene, frames, false);
    std::printf("  %-20s %6.2f ms | %6.2f ms%s\n", c.name, whole, kept,
                rq::BackdropWasKept() ? "" : " (no copy was kept: drawn whole too)");
  }
  if (argc > 1 && !rq::WritePng(argv[1], scene.gl.ReadBack())) std::fprintf(stderr, "cannot write %s\n", argv[1]);
  return 0;
}
