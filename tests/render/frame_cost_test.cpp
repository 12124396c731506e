// What keeps a frame cheap without changing it: the backdrop laid back from its copy comes
// out byte for byte as drawn whole after every kind of change, and pulsing markers are
// drawn anew only as often as their pulse needs.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "offscreen_gl.h"
#include "player/guarded_game.h"
#include "render/backdrop.h"
#include "render/scene.h"
#include "render/textures.h"
#include "support/environment.h"
#include "support/fake_platform.h"
#include "support/scratch.h"

namespace rq::test {
namespace {

constexpr int kSide = 512;

// The picture's size on a surface of kSide, its top edge at the surface's top.
void Viewport(GameApplication& a, int side) {
  glViewport(0, kSide - side, side, side);
  a.clientWidth = side;
  a.clientHeight = side;
  a.viewScale = side / 1024.0;
}

void Nothing(GameApplication&, FakePlatform&) {}

// Red's left cannon to the centre, its arrow shown.
void CannonToCentre(GameApplication& a, FakePlatform&) {
  a.savedBoard.squares[67] = a.savedBoard.squares[64];
  a.savedBoard.squares[64] = 0;
  a.lastMove = Move{64, 67, 0, 1, 0};
}

void ArrowOff(GameApplication& a, FakePlatform&) { a.settings.highlightMove = false; }

// A green chariot taken by the red cannon, ringed in its column.
void CannonTakesChariot(GameApplication& a, FakePlatform&) {
  a.eatenGreen[a.eatenGreenCount++] = 0x2A;
  a.lastMove = Move{64, 1, 0x2A, 2, 0};
}

void LiftCannon(GameApplication& a, FakePlatform&) {
  a.draggedPiece = DraggedPiece{a.savedBoard.squares[64], 64, 0, 0};
  a.savedBoard.squares[64] = 0;
}

void ComputerTakesOff(GameApplication& a, FakePlatform&) {
  a.computerMoveAnimating = true;
  a.animatedMove = Move{1, 20, 0, 0, 0};
  a.animProgress = 0.3;
}

void SmallerWindow(GameApplication& a, FakePlatform&) { Viewport(a, 384); }

void HintRing(GameApplication& a, FakePlatform&) {
  a.hint.stage = 1;
  a.hint.move = Move{64, 67, 0, 1, 0};
}

void GeneralsBlink(GameApplication& a, FakePlatform&) {
  a.explanationShown = true;
  a.explanationReason = 1;
}

void Later(GameApplication&, FakePlatform& p) { p.SetClock(10400); }

int DifferingBytes(const Picture& a, const Picture& b) {
  if (a.rgb.size() != b.rgb.size()) return -1;
  int count = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) count += a.rgb[i] != b.rgb[i];
  return count;
}

// Each change comes after a backdrop that was kept, and must show at once, as if drawn whole.
const struct Change {
  const char* name;
  void (*before)(GameApplication&, FakePlatform&);
  void (*after)(GameApplication&, FakePlatform&);
} kChanges[] = {
    {"a move with its arrow", Nothing, CannonToCentre},
    {"the arrow switched off in the settings", CannonToCentre, ArrowOff},
    {"a capture, ringed in its column", Nothing, CannonTakesChariot},
    {"a piece lifted by the drag", Nothing, LiftCannon},
    {"the computer's piece taking off", Nothing, ComputerTakesOff},
    {"a smaller window, the picture at its top", Nothing, SmallerWindow},
    {"the board turned round, a capture ringed", CannonTakesChariot,
     [](GameApplication& a, FakePlatform&) { a.boardTurned = true; }},
    {"the hint's ring a moment later", HintRing, Later},
    {"the facing generals' blink", GeneralsBlink, Later},
    {"another board image", Nothing,
     [](GameApplication&, FakePlatform&) { Textures().LoadTgaTexture("Textures/Pieces.tga", kBoardTexture, true); }},
};

TEST(FrameCost, KeptBackdropComesOutAsDrawnWholeAfterEveryChange) {
  FakePlatform platform;
  platform.sleepAdvancesClock = false;
  OffscreenScene scene;
  std::string why;
  RQ_REQUIRE_ENVIRONMENT(scene.Open(platform, kSide, why), why);
  for (const Change& c : kChanges) {
    SCOPED_TRACE(c.name);
    GameApplication& a = scene.Restart();
    Viewport(a, kSide);
    platform.SetClock(10100);
    c.before(a, platform);
    ForgetBackdrop();
    const Picture first = scene.Render();
    scene.Render();  // the same twice running: now copied
    EXPECT_EQ(DifferingBytes(scene.Render(), first), 0);
    EXPECT_TRUE(BackdropWasKept());
    c.after(a, platform);
    const Picture changed = scene.Render();
    EXPECT_FALSE(BackdropWasKept());
    scene.Render();
    const Picture keptAgain = scene.Render();
    EXPECT_TRUE(BackdropWasKept());
    ForgetBackdrop();
    const Picture whole = scene.Render();
    EXPECT_EQ(DifferingBytes(changed, whole), 0);
    EXPECT_EQ(DifferingBytes(keptAgain, whole), 0);
  }
  Textures().LoadTgaTexture("Textures/Board.tga", kBoardTexture, true);
}

TEST(FrameCost, PulsingMarkersAreDrawnEveryFiftiethMillisecond) {
  ScratchDirectory dir;
  FakePlatform platform;
  GameApplication app(platform);
  const struct {
    const char* name;
    int32_t now;
    int32_t status;  // of the one candidate; 0 for none
    bool showIllegal, facingGenerals;
    int32_t still;
  } cases[] = {
      {"nothing on show: only an event changes the picture", 10000, 0, true, false, -1},
      {"a marker pulsing, on a fiftieth", 10000, 1, true, false, 50},
      {"a marker pulsing, 13 ms past one", 10013, 1, true, false, 37},
      {"a prohibited point the settings hide", 10013, -2, false, false, -1},
      {"the generals' blink due sooner", 10240, 1, true, true, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    app.candidatesShown = c.status != 0;
    app.candidateCount = c.status != 0;
    app.candidateMoves[0] = Move{64, 67, 0, c.status, 0};
    app.settings.showIllegalMoves = c.showIllegal;
    app.explanationShown = c.facingGenerals;
    app.explanationReason = 1;
    EXPECT_EQ(PictureStillFor(app, c.now), c.still);
  }
}

}  // namespace
}  // namespace rq::test
