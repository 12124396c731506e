// A game application in a scratch directory with the real textures, drawn into an
// offscreen GL context, and the reference pictures to predict its pixels from.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "game/game_application.h"
#include "offscreen_gl.h"
#include "support/fake_platform.h"
#include "render/tga.h"

namespace rq::test {

struct Color {
  double r, g, b;
};

// A picture as the GL samples it: texel i covers [i, i + 1), v from the first row.
struct Picture {
  TgaImage image;
  bool Load(const std::string& path) { return ReadTgaImage(path.c_str(), image); }
  // Straight RGBA 0..1 of texel (u, v), wrapping like GL_REPEAT.
  void Texel(int u, int v, double out[4]) const;
  // Bilinear sample at continuous texel coordinates.
  void Sample(double u, double v, double out[4]) const;
};

// A tint and alpha as glColor4d gives them.
struct Tint {
  double r = 1, g = 1, b = 1, a = 1;
};

// The rectangle DrawTexturedRect draws, in window pixels at the fixture's scale:
// (x, y, w, h) on screen, sampling (u0, v0, tw, th) texels of `picture`.
struct Sprite {
  const Picture* picture;
  double x, y, w, h;
  double u0, v0, tw, th;
  Tint tint;
};

class SceneFixture {
 public:
  // Opens the GL context, the scratch directory and the application; false with a
  // reason when the machine cannot draw offscreen.
  bool SetUp(std::string& why);
  void TearDown();

  // Puts the display state back to the opening position with nothing else shown.
  void Reset();
  // Draws steps 3 to 12 of a frame and reads the pixels back.
  void Render();

  // The board picture under window pixel (x, y).
  Color BoardAt(int x, int y) const;
  // Composites sprites over `base` at window pixel (x, y), as alpha blending does.
  static Color Over(Color base, int x, int y, const Sprite& s);

  // Sprites of the pieces atlas placed the way the scene places them.
  Sprite Piece(int32_t code, double x, double y, Tint tint = {}) const;
  Sprite Shadow(double x, double y, Tint tint) const;
  Sprite Marker(double x, double y, Tint tint) const;

  // The atlas cell (left, bottom) of a piece code.
  static void CellOf(int32_t code, int& u, int& v);

  OffscreenGl gl;
  FakePlatform platform;  // its clock stands still unless a test moves it
  std::unique_ptr<GameApplication> app;
  BoardPosition opening;
  Picture board, pieces, ball, menu;

 private:
  std::string scratch_;
  std::string previousDir_;
  std::string lockName_;
};

// Centre of `square` in scene space (y upward), window pixels at scale 1.
void SceneCentre(int square, double& x, double& y);

// Largest channel difference, 0..255.
double Distance(Color a, const Rgb& b);

}  // namespace rq::test
