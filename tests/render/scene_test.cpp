// Scene pictures: states of the game application drawn offscreen, checked at the
// pixels that matter against the textures placed where the scene must place them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "player/guarded_game.h"
#include "render/scene.h"
#include "scene_fixture.h"

namespace rq::test {
namespace {

constexpr double kTolerance = 6;  // of 255: filtering and 8-bit rounding

SceneFixture* fixture = nullptr;
std::string skipReason;

class SceneEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    fixture = new SceneFixture;
    if (!fixture->SetUp(skipReason)) {
      fixture->TearDown();
      delete fixture;
      fixture = nullptr;
    }
  }
  void TearDown() override {
    if (fixture == nullptr) return;
    fixture->TearDown();
    delete fixture;
    fixture = nullptr;
  }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new SceneEnvironment);

// The board with `layers` composited over it at pixel (x, y).
Color Compose(const SceneFixture& f, int x, int y, std::initializer_list<Sprite> layers) {
  Color c = f.BoardAt(x, y);
  for (const Sprite& s : layers) c = SceneFixture::Over(c, x, y, s);
  return c;
}

// One texel of `picture`, tinted, blended over `base`.
Color OverTexel(Color base, const Picture& picture, double u, double v, Tint tint) {
  double t[4];
  picture.Sample(u, v, t);
  const double a = t[3] * tint.a;
  return {t[0] * 255 * tint.r * a + base.r * (1 - a), t[1] * 255 * tint.g * a + base.g * (1 - a),
          t[2] * 255 * tint.b * a + base.b * (1 - a)};
}

void ExpectPixel(const SceneFixture& f, const std::string& what, int x, int y, Color expected,
                 double tolerance = kTolerance) {
  const Rgb got = f.gl.At(x, y);
  EXPECT_LE(Distance(expected, got), tolerance)
      << what << " at (" << x << ", " << y << "): got " << got.r << "," << got.g << "," << got.b
      << " expected " << expected.r << "," << expected.g << "," << expected.b;
}

// The piece standing on `square` with its shadow, at pixel offset (dx, dy) from the centre.
void ExpectPieceOnSquare(const SceneFixture& f, int square, int dx, int dy, Tint tint = {}) {
  double cx, cy;
  SceneCentre(square, cx, cy);
  const int32_t code = f.app->savedBoard.squares[square];
  const int x = static_cast<int>(cx) + dx, y = static_cast<int>(cy) + dy;
  ExpectPixel(f, "piece on square " + std::to_string(square), x, y,
              Compose(f, x, y,
                      {f.Shadow(cx + 2 - 40, cy - 4 - 40, {1, 1, 1, 0.9}),
                       f.Piece(code, cx - 40, cy - 40, tint)}));
}

// A 7x7 patch of opaque texels whose colours hardly vary, nearest to (u, v): there a
// minified or offset sample still gives the texel's own colour.
bool FindFlatTexel(const Picture& p, int uMin, int vMin, int uMax, int vMax, int& u, int& v) {
  for (int radius = 0; radius < 64; ++radius)
    for (int dv = -radius; dv <= radius; ++dv)
      for (int du = -radius; du <= radius; ++du) {
        if (std::max(std::abs(du), std::abs(dv)) != radius) continue;
        const int cu = u + du, cv = v + dv;
        if (cu - 3 < uMin || cv - 3 < vMin || cu + 3 >= uMax || cv + 3 >= vMax) continue;
        double centre[4];
        p.Texel(cu, cv, centre);
        bool flat = centre[3] == 1.0;
        for (int j = -3; j <= 3 && flat; ++j)
          for (int i = -3; i <= 3 && flat; ++i) {
            double t[4];
            p.Texel(cu + i, cv + j, t);
            flat = t[3] == 1.0 && std::abs(t[0] - centre[0]) < 0.015 &&
                   std::abs(t[1] - centre[1]) < 0.015 && std::abs(t[2] - centre[2]) < 0.015;
          }
        if (flat) {
          u = cu;
          v = cv;
          return true;
        }
      }
  return false;
}

// The marker tint of each candidate status at pulse q.
Tint StatusTint(int32_t status, double q) {
  switch (status) {
    case 1: return {1, 1, 1, 0.6 + 0.2 * q};
    case 2: return {1, 1, 1, 0.4 + 0.2 * q};
    case -1: return {1, 1, 0, 0.6 + 0.2 * q};
    case -2: return {0.5, 0.5, 1, 0.6 + 0.2 * q};
    case -3: return {1, 0.5, 0, 0.6 + 0.2 * q};
    case -4: return {0, 1, 1, 0.6 + 0.2 * q};
    default: return {1, 0, 0, 0.4 + 0.2 * q};
  }
}

constexpr int32_t kStatuses[] = {1, 2, -1, -2, -3, -4, -5};

// Candidates of every status on the empty row 4, squares 36 to 42.
void SetAllStatusCandidates(GameApplication& a) {
  a.candidatesShown = true;
  a.candidateCount = 7;
  for (int i = 0; i < 7; ++i) {
    a.candidateMoves[i] = Move{};
    a.candidateMoves[i].from = 81;
    a.candidateMoves[i].to = static_cast<uint8_t>(36 + i);
    a.candidateMoves[i].status = kStatuses[i];
  }
}

// Each marker drawn (or not) with its status colour at pulse q.
void ExpectMarkers(const SceneFixture& f, double q, bool legalShown, bool illegalShown) {
  for (int i = 0; i < 7; ++i) {
    double cx, cy;
    SceneCentre(36 + i, cx, cy);
    const int x = static_cast<int>(cx) + 2, y = static_cast<int>(cy) - 1;
    const bool shown = kStatuses[i] < 0 ? illegalShown : legalShown;
    const Color board = f.BoardAt(x, y);
    const Color expected =
        shown ? Compose(f, x, y, {f.Marker(cx - 19, cy - 22, StatusTint(kStatuses[i], q))}) : board;
    ExpectPixel(f, "marker of status " + std::to_string(kStatuses[i]), x, y, expected);
    // The marker rim, where the sprite is opaque, carries the status colour plainly.
    const int rx = static_cast<int>(cx) - 17, ry = static_cast<int>(cy) - 1;
    ExpectPixel(f, "marker rim of status " + std::to_string(kStatuses[i]), rx, ry,
                shown ? Compose(f, rx, ry, {f.Marker(cx - 19, cy - 22, StatusTint(kStatuses[i], q))})
                      : f.BoardAt(rx, ry));
  }
}

// Pixel of the glowing fan at `degrees` clockwise from twelve o'clock, 25 units out.
void FanProbe(double degrees, int& x, int& y) {
  const double a = degrees * M_PI / 180;
  x = static_cast<int>(std::floor(59 + 25 * std::sin(a)));
  y = static_cast<int>(std::floor(482.5 + 25 * std::cos(a)));
}

void SetComputerThinking(SceneFixture& f, double progress) {
  LockGame(f.app->game);
  f.app->game.usersTurn = false;
  f.app->game.progress = progress;
  UnlockGame(f.app->game);
}

// The ball picture, and over it the glow where the fan reaches.
void ExpectBall(const SceneFixture& f, std::initializer_list<double> lit,
                std::initializer_list<double> dark) {
  const Sprite ballPicture{&f.ball, 20, 437, 78, 84, 1, 42, 78, 84, {}};
  const Tint glow{0, 0.8, 0.2, 0.65};  // the clock stands at a whole second: full glow
  for (double deg : lit) {
    int x, y;
    FanProbe(deg, x, y);
    const Color under = Compose(f, x, y, {ballPicture});
    const Color lightUp = OverTexel(under, f.ball, 125 + (x + 0.5 - 59), 87 + (y + 0.5 - 482.5), glow);
    ASSERT_GT(std::abs(lightUp.r - under.r) + std::abs(lightUp.g - under.g) +
                  std::abs(lightUp.b - under.b),
              20)
        << "the glow must show at " << deg;
    ExpectPixel(f, "glow at " + std::to_string(deg) + " degrees", x, y, lightUp);
  }
  for (double deg : dark) {
    int x, y;
    FanProbe(deg, x, y);
    ExpectPixel(f, "no glow at " + std::to_string(deg) + " degrees", x, y,
                Compose(f, x, y, {ballPicture}));
  }
}

// Centre pixel of depth dot i.
void DotProbe(int i, int& x, int& y) {
  x = static_cast<int>(44 + 6.4 * (i % 5) + 2.15);
  y = static_cast<int>(494 - 6.4 * (i / 5) + 2.15);
}

// Dots 0..shown-1 are there and dot `shown` is not, against a picture without dots.
void ExpectDots(SceneFixture& f, int depth, int shown) {
  f.Render();
  const Frame withDots = f.gl.frame;
  f.app->game.record.depthLimit = 0;
  f.Render();
  for (int i = 0; i <= shown && i < 26; ++i) {
    int x, y;
    DotProbe(i, x, y);
    const Rgb a = withDots.At(x, y), b = f.gl.At(x, y);
    const int change = std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    if (i < shown)
      EXPECT_GT(change, 60) << "depth " << depth << ": dot " << i << " missing";
    else
      EXPECT_EQ(change, 0) << "depth " << depth << ": dot " << i << " drawn";
  }
}

// The plain panel (alpha a) at scene pixel (x, y).
Color PanelAt(const SceneFixture& f, int x, int y, double alpha) {
  return OverTexel(f.BoardAt(x, y), f.menu, 144 + (x + 0.5 - 912), y + 0.5, {1, 1, 1, alpha});
}

// A point of the menu within scene rows y0..y1 where both strips are opaque and flat
// over 5x5 texels and the pressed strip looks plainly different; x = -1 when none.
void PanelProbe(const SceneFixture& f, int y0, int y1, int& x, int& y) {
  for (int sy = y0 + 4; sy < y1 - 4; ++sy)
    for (int sx = 920; sx < 1016; ++sx) {
      double plain[4], pressed[4];
      f.menu.Texel(144 + (sx - 912), sy, plain);
      f.menu.Texel(16 + (sx - 912), sy, pressed);
      bool flat = true;
      for (int j = -2; j <= 2 && flat; ++j)
        for (int i = -2; i <= 2 && flat; ++i) {
          double a[4], b[4];
          f.menu.Texel(144 + (sx - 912) + i, sy + j, a);
          f.menu.Texel(16 + (sx - 912) + i, sy + j, b);
          flat = a[3] == 1.0 && b[3] == 1.0;
          for (int k = 0; k < 3; ++k)
            flat = flat && std::abs(a[k] - plain[k]) < 0.02 && std::abs(b[k] - pressed[k]) < 0.02;
        }
      const double diff = std::abs(plain[0] - pressed[0]) + std::abs(plain[1] - pressed[1]) +
                          std::abs(plain[2] - pressed[2]);
      if (flat && diff > 0.15) {
        x = sx;
        y = sy;
        return;
      }
    }
  x = y = -1;
}

struct SceneCase {
  const char* name;
  std::function<void(SceneFixture&)> setUp;
  std::function<void(SceneFixture&)> check;  // runs after the picture is drawn
};

const std::vector<SceneCase>& Cases() {
  static const std::vector<SceneCase> cases = {
      {"pieces stand at their square centres", [](SceneFixture&) {},
       [](SceneFixture& f) {
         for (int square : {85, 4, 81, 19, 27, 89})
           // The centre, the disc, and the shadow's rim showing below and right of it.
           for (auto [dx, dy] : {std::pair{0, 0}, {20, 10}, {-25, -15}, {0, -40}, {39, -8}, {30, -30}})
             ExpectPieceOnSquare(f, square, dx, dy);
       }},
      {"an empty square shows the board", [](SceneFixture&) {},
       [](SceneFixture& f) {
         for (int square : {40, 48, 36})
           for (auto [dx, dy] : {std::pair{0, 0}, {30, 20}}) {
             double cx, cy;
             SceneCentre(square, cx, cy);
             const int x = static_cast<int>(cx) + dx, y = static_cast<int>(cy) + dy;
             ExpectPixel(f, "empty square", x, y, f.BoardAt(x, y));
           }
       }},
      {"markers take their status colours at full pulse",
       [](SceneFixture& f) { SetAllStatusCandidates(*f.app); },
       [](SceneFixture& f) { ExpectMarkers(f, 1.0, true, true); }},
      {"markers fade to the pulse's low point at half a second",
       [](SceneFixture& f) {
         SetAllStatusCandidates(*f.app);
         f.platform.SetClock(10500);
       },
       [](SceneFixture& f) { ExpectMarkers(f, 0.0, true, true); }},
      {"prohibited markers stay hidden when they are not wanted",
       [](SceneFixture& f) {
         SetAllStatusCandidates(*f.app);
         f.app->showIllegalMoves = false;
       },
       [](SceneFixture& f) { ExpectMarkers(f, 1.0, true, false); }},
      {"permitted markers stay hidden when they are not wanted",
       [](SceneFixture& f) {
         SetAllStatusCandidates(*f.app);
         f.app->showMoves = false;
       },
       [](SceneFixture& f) { ExpectMarkers(f, 1.0, false, true); }},
      {"the last move's arrow lies along the row it took",
       [](SceneFixture& f) {
         f.app->lastMove = Move{64, 67, 0, 0, 0};
       },
       [](SceneFixture& f) {
         // Halfway along the shaft, half a pixel left of its centre line (y 255).
         const Color shaft = OverTexel(f.BoardAt(377, 255), f.pieces, 433 + 8.5 / 16 * 41, 62.0,
                                       {1, 1, 1, 0.5});
         ExpectPixel(f, "arrow shaft", 377, 255, shaft, 10);
         ExpectPixel(f, "beyond the arrow's head", 524, 255, f.BoardAt(524, 255));
         ExpectPixel(f, "beside the shaft", 377, 266, f.BoardAt(377, 266));
       }},
      {"no arrow when highlighting is off",
       [](SceneFixture& f) {
         f.app->lastMove = Move{64, 67, 0, 0, 0};
         f.app->highlightMove = false;
       },
       [](SceneFixture& f) { ExpectPixel(f, "arrow shaft", 377, 255, f.BoardAt(377, 255)); }},
      {"the dragged piece follows the pointer with its shadow",
       [](SceneFixture& f) {
         f.app->draggedPiece = DraggedPiece{0x46, 81, 5, -3};
         f.app->pointerX = 600;
         f.app->pointerY = 1024 - 500;
       },
       [](SceneFixture& f) {
         const Sprite shadow = f.Shadow(575, 437, {1, 1, 1, 0.7});
         const Sprite piece = f.Piece(0x46, 565, 457);
         ExpectPixel(f, "dragged piece", 605, 497, Compose(f, 605, 497, {shadow, piece}));
         ExpectPixel(f, "dragged piece", 590, 510, Compose(f, 590, 510, {shadow, piece}));
         const Color shade = Compose(f, 615, 447, {shadow});
         ASSERT_GT(f.BoardAt(615, 447).r - shade.r, 30) << "the probe must lie in the shadow";
         ExpectPixel(f, "dragged piece's shadow", 615, 447, shade);
       }},
      {"the computer's piece flies halfway, lifted, its square left empty",
       [](SceneFixture& f) {
         f.app->computerMoveAnimating = true;
         f.app->animatedMove = Move{1, 20, 0, 0, 0};
         f.app->animProgress = 0.5;
         f.app->usersTurnAtFrameStart = false;
       },
       [](SceneFixture& f) {
         const Sprite shadow = f.Shadow(287 + 8 + 2 - 40, 794 - 20 - 40, {1, 1, 1, 0.9});
         const Sprite piece = f.Piece(f.opening.squares[1], 247, 754);
         ExpectPixel(f, "piece in flight", 287, 794, Compose(f, 287, 794, {shadow, piece}));
         ExpectPixel(f, "piece in flight", 270, 780, Compose(f, 270, 780, {shadow, piece}));
         ExpectPixel(f, "its shadow, drifted", 297, 742, Compose(f, 297, 742, {shadow}));
         ExpectPixel(f, "the square it left", 242, 884, f.BoardAt(242, 884));
       }},
      {"captured pieces fill their columns, the latest capture ringed",
       [](SceneFixture& f) {
         GameApplication& a = *f.app;
         const uint8_t red[9] = {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49};
         for (int i = 0; i < 9; ++i) a.eatenRed[i] = red[i];
         a.eatenRedCount = 9;
         a.eatenGreen[0] = 0x21;
         a.eatenGreen[1] = 0x2A;
         a.eatenGreen[2] = 0x26;
         a.eatenGreenCount = 3;
         a.lastMove = Move{10, 20, 0x26, 0, 0};
         a.highlightMove = false;
       },
       [](SceneFixture& f) {
         struct Entry {
           double originX, originY;
           int i, d;
           int32_t code;
         };
         const Entry entries[] = {{-5, 834, 0, -1, 0x41}, {-5, 834, 7, -1, 0x48},
                                  {-5, 834, 8, -1, 0x49}, {-5, 54, 0, 1, 0x21},
                                  {-5, 54, 1, 1, 0x2A},   {-5, 54, 2, 1, 0x26}};
         for (const Entry& e : entries) {
           const int c = e.i / 8, r = e.i % 8;
           int cu, cv;
           SceneFixture::CellOf(e.code, cu, cv);
           int u = cu + 64, v = cv + 40;  // below the character, on the disc
           ASSERT_TRUE(FindFlatTexel(f.pieces, cu + 24, cv + 24, cu + 104, cv + 104, u, v));
           const double x0 = e.originX + 0.6 * (78 * c + 24);
           const double y0 = e.originY + 0.6 * (24 + 78 * r * e.d);
           const int x = static_cast<int>(x0 + 0.6 * (u - cu - 24) + 0.3);
           const int y = static_cast<int>(y0 + 0.6 * (v - cv - 24) + 0.3);
           const Sprite piece{&f.pieces, x0, y0, 48, 48, cu + 24.0, cv + 24.0, 80, 80, {}};
           ExpectPixel(f, "captured " + std::to_string(e.code), x, y,
                       Compose(f, x, y, {piece}), 12);
         }
         // The ring's rim shows between the ringed piece's disc and the ring's edge.
         const Frame ringed = f.gl.frame;
         f.app->lastMove.captured = 0;
         f.Render();
         // The ring's ball sits at texel (454, 61) of the atlas, 19 and 21 texels into its block.
         const double ringX = -5 + 0.6 * (20.5 + 19.5 * 2.3);
         const double ringY = 54 + 0.6 * (15.5 + 156 + 21.5 * 2.3);
         int brighter = 0, elsewhere = 0;
         for (int deg = 0; deg < 360; deg += 15) {
           const int x = static_cast<int>(ringX + 25 * std::cos(deg * M_PI / 180));
           const int y = static_cast<int>(ringY + 25 * std::sin(deg * M_PI / 180));
           if (x < 0) continue;
           const Rgb a = ringed.At(x, y), b = f.gl.At(x, y);
           if (a.r + a.g + a.b > b.r + b.g + b.b + 60) ++brighter;
         }
         for (int y = 0; y < 1024; y += 3)
           for (int x = 0; x < 140; x += 3) {
             if (std::hypot(x - ringX, y - ringY) < 32) continue;
             const Rgb a = ringed.At(x, y), b = f.gl.At(x, y);
             if (a.r != b.r || a.g != b.g || a.b != b.b) ++elsewhere;
           }
         EXPECT_GE(brighter, 12) << "the ring around the latest capture";
         EXPECT_EQ(elsewhere, 0) << "only the latest capture is ringed";
       }},
      {"banner for perpetual check",
       [](SceneFixture& f) {
         f.app->explanationShown = true;
         f.app->explanationReason = 2;
       },
       [](SceneFixture& f) {
         for (int x = 270; x < 760; x += 35)
           for (int y : {10, 22, 33})
             ExpectPixel(f, "banner 2", x, y,
                         Compose(f, x, y, {Sprite{&f.pieces, 256, 2, 512, 40, 0, 364, 512, 40, {}}}));
       }},
      {"banner for perpetual chase",
       [](SceneFixture& f) {
         f.app->explanationShown = true;
         f.app->explanationReason = 3;
       },
       [](SceneFixture& f) {
         for (int x = 270; x < 760; x += 35)
           for (int y : {10, 22, 33})
             ExpectPixel(f, "banner 3", x, y,
                         Compose(f, x, y, {Sprite{&f.pieces, 256, 2, 512, 40, 0, 237, 512, 40, {}}}));
       }},
      {"banner for a drawing repetition",
       [](SceneFixture& f) {
         f.app->explanationShown = true;
         f.app->explanationReason = 4;
       },
       [](SceneFixture& f) {
         for (int x = 270; x < 760; x += 35)
           for (int y : {10, 22, 33})
             ExpectPixel(f, "banner 4", x, y,
                         Compose(f, x, y, {Sprite{&f.pieces, 256, 2, 512, 40, 0, 111, 512, 40, {}}}));
       }},
      {"facing generals blink instead of a banner",
       [](SceneFixture& f) {
         f.app->explanationShown = true;
         f.app->explanationReason = 1;
         f.platform.SetClock(10300);
       },
       [](SceneFixture& f) {
         for (int x = 300; x < 760; x += 60) ExpectPixel(f, "no banner", x, 22, f.BoardAt(x, 22));
         ExpectPieceOnSquare(f, 85, 0, 0, {1, 1, 1, 0.75});
         ExpectPieceOnSquare(f, 4, 10, -10, {1, 1, 1, 0.75});
         ExpectPieceOnSquare(f, 84, 0, 0);  // an advisor does not blink
       }},
      {"blinking generals are whole in the first quarter second",
       [](SceneFixture& f) {
         f.app->explanationShown = true;
         f.app->explanationReason = 1;
         f.platform.SetClock(10200);
       },
       [](SceneFixture& f) { ExpectPieceOnSquare(f, 85, 0, 0); }},
      {"no banner when explanations are off",
       [](SceneFixture& f) {
         f.app->explanationShown = true;
         f.app->explanationReason = 2;
         f.app->explainIllegalMoves = false;
       },
       [](SceneFixture& f) {
         for (int x = 300; x < 760; x += 60) ExpectPixel(f, "no banner", x, 22, f.BoardAt(x, 22));
       }},
      {"crystal ball at progress 0: one slice at twelve o'clock",
       [](SceneFixture& f) { SetComputerThinking(f, 0.0); },
       [](SceneFixture& f) { ExpectBall(f, {2.5}, {90, 182.5, 190, 270, 355}); }},
      {"crystal ball at progress 0.5: round to 185 degrees",
       [](SceneFixture& f) { SetComputerThinking(f, 0.5); },
       [](SceneFixture& f) { ExpectBall(f, {2.5, 90, 182.5}, {190, 270, 355}); }},
      {"crystal ball at progress 1: the whole disc",
       [](SceneFixture& f) { SetComputerThinking(f, 1.0); },
       [](SceneFixture& f) { ExpectBall(f, {2.5, 90, 182.5, 190, 270, 355}, {}); }},
      {"no crystal ball on the user's turn", [](SceneFixture&) {},
       [](SceneFixture& f) {
         for (double deg : {0.0, 90.0, 200.0}) {
           int x, y;
           FanProbe(deg, x, y);
           ExpectPixel(f, "board where the ball would be", x, y, f.BoardAt(x, y));
         }
       }},
      {"depth 0 shows no dots", [](SceneFixture&) {},
       [](SceneFixture& f) {
         for (int i : {0, 4, 5}) {
           int x, y;
           DotProbe(i, x, y);
           ExpectPixel(f, "no dot", x, y, f.BoardAt(x, y));
         }
       }},
      {"depth 7 shows a row of five and two below",
       [](SceneFixture& f) { f.app->game.record.depthLimit = 7; },
       [](SceneFixture& f) {
         f.app->game.record.depthLimit = 7;
         ExpectDots(f, 7, 7);
       }},
      {"depth 30 shows 25 dots",
       [](SceneFixture& f) { f.app->game.record.depthLimit = 30; },
       [](SceneFixture& f) {
         f.app->game.record.depthLimit = 30;
         ExpectDots(f, 30, 25);
       }},
      {"menu faded out 500 ms after hiding",
       [](SceneFixture& f) { f.app->menuHiddenAt = f.platform.ElapsedMilliseconds() - 500; },
       [](SceneFixture& f) {
         for (int y : {300, 560, 800}) ExpectPixel(f, "no menu", 968, y, f.BoardAt(968, y));
       }},
      {"menu at 0.6 200 ms after hiding",
       [](SceneFixture& f) { f.app->menuHiddenAt = f.platform.ElapsedMilliseconds() - 200; },
       [](SceneFixture& f) {
         for (int y : {300, 560, 800}) ExpectPixel(f, "menu at 0.6", 968, y, PanelAt(f, 968, y, 0.6));
       }},
      {"menu hidden at start-up", [](SceneFixture& f) { f.platform.SetClock(100); },
       [](SceneFixture& f) {
         for (int y : {300, 560, 800}) ExpectPixel(f, "no menu", 968, y, f.BoardAt(968, y));
       }},
      {"menu left at 0.4 during its fade-in at 0.2 100 ms later",
       [](SceneFixture& f) {
         f.app->menuShownAt = f.platform.ElapsedMilliseconds() - 200;
         f.app->menuHiddenAt = f.platform.ElapsedMilliseconds() - 100;
       },
       [](SceneFixture& f) {
         for (int y : {300, 560, 800}) ExpectPixel(f, "menu at 0.2", 968, y, PanelAt(f, 968, y, 0.2));
       }},
      {"menu at 0.4 100 ms after showing",
       [](SceneFixture& f) {
         f.app->menuVisible = true;
         f.app->menuShownAt = f.platform.ElapsedMilliseconds() - 100;
       },
       [](SceneFixture& f) {
         for (int y : {300, 560, 800}) ExpectPixel(f, "menu at 0.4", 968, y, PanelAt(f, 968, y, 0.4));
       }},
      {"menu opaque from 250 ms after showing",
       [](SceneFixture& f) {
         f.app->menuVisible = true;
         f.app->menuShownAt = f.platform.ElapsedMilliseconds() - 250;
       },
       [](SceneFixture& f) {
         for (int y : {300, 560, 800}) ExpectPixel(f, "menu at 1", 968, y, PanelAt(f, 968, y, 1.0));
       }},
      {"menu always opaque without auto-hiding",
       [](SceneFixture& f) {
         f.app->autoHideMenu = false;
         f.app->menuHiddenAt = f.platform.ElapsedMilliseconds() - 5000;
       },
       [](SceneFixture& f) {
         for (int y : {300, 560, 800}) ExpectPixel(f, "menu at 1", 968, y, PanelAt(f, 968, y, 1.0));
         EXPECT_TRUE(f.app->menuVisible);
       }},
  };
  return cases;
}

TEST(Scene, DrawsEachStateWhereAndHowTheGameShowsIt) {
  if (fixture == nullptr) GTEST_SKIP() << skipReason;
  for (const SceneCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    fixture->Reset();
    c.setUp(*fixture);
    fixture->Render();
    c.check(*fixture);
  }
  fixture->Reset();
}

// Each menu item's pressed band changes that item alone; item 4 and no item change nothing.
TEST(Scene, PressedMenuBandsCoverTheirItems) {
  if (fixture == nullptr) GTEST_SKIP() << skipReason;
  struct Band {
    int32_t item;
    int y0, y1;
  };
  const Band bands[] = {{0, 745, 874}, {1, 640, 739}, {2, 482, 640}, {5, 267, 482}, {3, 92, 247}};
  int probeX[5], probeY[5];
  for (int b = 0; b < 5; ++b) {
    PanelProbe(*fixture, bands[b].y0, bands[b].y1, probeX[b], probeY[b]);
    ASSERT_GE(probeX[b], 0) << "no distinct pressed texel in item " << bands[b].item;
  }
  const struct Case {
    int32_t item;
    bool hover, button;
    int pressedBand;  // index into bands, -1 none
  } cases[] = {
      {0, true, true, 0},   {1, true, true, 1},   {2, true, true, 2},   {5, true, true, 3},
      {3, true, true, 4},   {4, true, true, -1},  {-1, true, true, -1}, {0, false, true, -1},
      {0, true, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("item " + std::to_string(c.item) + (c.hover ? " hovered" : "") +
                 (c.button ? " button down" : ""));
    fixture->Reset();
    GameApplication& a = *fixture->app;
    a.autoHideMenu = false;
    a.hoveredMenuItem = c.item;
    a.menuHover = c.hover;
    a.buttonDown = c.button;
    fixture->Render();
    for (int b = 0; b < 5; ++b) {
      const int x = probeX[b], y = probeY[b];
      const Color plain = PanelAt(*fixture, x, y, 1.0);
      const Color pressed =
          OverTexel(plain, fixture->menu, 16 + (x + 0.5 - 912), y + 0.5, {1, 1, 1, 1});
      ExpectPixel(*fixture, "band " + std::to_string(bands[b].item), x, y,
                  b == c.pressedBand ? pressed : plain);
    }
  }
  fixture->Reset();
}

// A whole frame asks the game whose turn it is first, and pauses by the answer.
TEST(Frame, PausesShortWhileTheUserMovesOrAPieceFliesAndLongWhileTheComputerThinks) {
  if (fixture == nullptr) GTEST_SKIP() << skipReason;
  const struct Case {
    const char* name;
    bool usersTurn, searching, animating;
    int32_t pause;
  } cases[] = {
      {"the user's turn", true, false, false, 15},
      {"the computer thinking", false, true, false, 100},
      {"a piece in flight", false, true, true, 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fixture->Reset();
    GameApplication& a = *fixture->app;
    LockGame(a.game);
    a.game.usersTurn = c.usersTurn;
    a.game.searching = c.searching;
    UnlockGame(a.game);
    a.computerMoveAnimating = c.animating;
    a.animatedMove = Move{1, 20, 0, 0, 0};
    fixture->platform.ClearRecords();
    DrawScene(a);
    const std::vector<int32_t> sleeps = fixture->platform.Sleeps();
    ASSERT_EQ(sleeps.size(), 1u);
    EXPECT_EQ(sleeps[0], c.pause);
    EXPECT_EQ(a.usersTurnAtFrameStart, c.usersTurn);
    LockGame(a.game);
    a.game.searching = false;
    UnlockGame(a.game);
  }
  fixture->Reset();
}

}  // namespace
}  // namespace rq::test
