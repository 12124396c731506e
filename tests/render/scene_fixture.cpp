#include "scene_fixture.h"

#include <GL/gl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "player/guarded_game.h"
#include "render/scene.h"
#include "render/textures.h"
#include "rules/types.h"

namespace rq::test {

void Picture::Texel(int u, int v, double out[4]) const {
  const int w = image.width, h = image.height;
  u = ((u % w) + w) % w;
  v = ((v % h) + h) % h;
  const uint8_t* p = &image.pixels[(static_cast<size_t>(v) * w + u) * image.components];
  for (int k = 0; k < 3; ++k) out[k] = (image.components == 1 ? p[0] : p[k]) / 255.0;
  out[3] = image.components == 4 ? p[3] / 255.0 : 1.0;
}

void Picture::Sample(double u, double v, double out[4]) const {
  u -= 0.5;
  v -= 0.5;
  const int u0 = static_cast<int>(std::floor(u)), v0 = static_cast<int>(std::floor(v));
  const double fu = u - u0, fv = v - v0;
  for (int k = 0; k < 4; ++k) out[k] = 0;
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      double t[4];
      Texel(u0 + i, v0 + j, t);
      const double wgt = (i ? fu : 1 - fu) * (j ? fv : 1 - fv);
      for (int k = 0; k < 4; ++k) out[k] += wgt * t[k];
    }
}

bool SceneFixture::SetUp(std::string& why) {
  if (!gl.Open(1024, 1024)) {
    why = "offscreen GL: " + gl.error;
    return false;
  }
  const std::string root = RQ_REPO_ROOT;
  if (!board.Load(root + "/Textures/Board.tga") || !pieces.Load(root + "/Textures/Pieces.tga") ||
      !ball.Load(root + "/Textures/CrystalBall.tga") ||
      !menu.Load(root + "/Textures/UI_UpAndDown.tga")) {
    why = "the committed textures cannot be read";
    return false;
  }
  char dir[] = "/tmp/rq-scene-XXXXXX";
  if (mkdtemp(dir) == nullptr) {
    why = "no scratch directory";
    return false;
  }
  scratch_ = dir;
  std::error_code ec;
  std::filesystem::create_directory_symlink(root + "/Textures", scratch_ + "/Textures", ec);
  previousDir_ = std::filesystem::current_path().string();
  std::filesystem::current_path(scratch_);

  lockName_ = "RavenquillSceneTest" + std::to_string(getpid());
  app = std::make_unique<GameApplication>(platform, lockName_.c_str());
  opening = app->savedBoard;
  app->clientWidth = app->clientHeight = 1024;
  app->viewScale = 1.0;
  glViewport(0, 0, 1024, 1024);
  glClearColor(0, 0, 0, 0.5f);
  glEnable(GL_DEPTH_TEST);
  Textures().BuildTextureParamList();
  Textures().LoadAllTextures();
  Reset();
  return true;
}

void SceneFixture::TearDown() {
  app.reset();
  if (!lockName_.empty()) std::filesystem::remove(GameLock::LockFilePath(lockName_.c_str()));
  if (!previousDir_.empty()) std::filesystem::current_path(previousDir_);
  if (!scratch_.empty()) std::filesystem::remove_all(scratch_);
  gl.Close();
}

void SceneFixture::Reset() {
  GameApplication& a = *app;
  LockGame(a.game);
  a.game.usersTurn = true;
  a.game.progress = 0.0;
  a.game.record.depthLimit = 0;
  UnlockGame(a.game);
  a.savedBoard = opening;
  a.lastMove = Move{};
  a.lastMove.status = NoLastMove;
  a.candidatesShown = false;
  a.candidateCount = a.captureCandidateCount = a.quietCandidateCount = 0;
  a.draggedPiece = DraggedPiece{};
  a.explanationShown = false;
  a.explanationReason = 0;
  a.computerMoveAnimating = false;
  a.animatedMove = Move{};
  a.animProgress = 0.0;
  a.eatenRedCount = a.eatenGreenCount = 0;
  a.menuVisible = a.menuHover = a.buttonDown = false;
  a.menuShownAt = a.menuHiddenAt = 0;
  a.hoveredMenuItem = -1;
  a.hintAtStartup = a.highlightMove = a.showMoves = a.showIllegalMoves = true;
  a.explainIllegalMoves = a.autoHideMenu = true;
  a.pointerX = a.pointerY = 0;
  a.usersTurnAtFrameStart = true;
  platform.sleepAdvancesClock = false;
  platform.SetClock(10000);
}

void SceneFixture::Render() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawSceneElements(*app);
  gl.ReadBack();
}

Color SceneFixture::BoardAt(int x, int y) const {
  double t[4];
  board.Sample(x + 0.5, y + 0.5, t);
  return {t[0] * 255, t[1] * 255, t[2] * 255};
}

Color SceneFixture::Over(Color base, int x, int y, const Sprite& s) {
  const double cx = x + 0.5, cy = y + 0.5;
  if (cx < s.x || cx >= s.x + s.w || cy < s.y || cy >= s.y + s.h) return base;
  double t[4];
  s.picture->Sample(s.u0 + (cx - s.x) * s.tw / s.w, s.v0 + (cy - s.y) * s.th / s.h, t);
  const double a = t[3] * s.tint.a;
  return {t[0] * 255 * s.tint.r * a + base.r * (1 - a), t[1] * 255 * s.tint.g * a + base.g * (1 - a),
          t[2] * 255 * s.tint.b * a + base.b * (1 - a)};
}

void SceneFixture::CellOf(int32_t code, int& u, int& v) {
  // The atlas cells by kind (soldier .. general), as the pieces image lays them out.
  static const int red[8][2] = {{0, 0},     {0, 0},     {128, 0},   {384, 128},
                                {384, 256}, {128, 128}, {0, 128},   {256, 128}};
  static const int green[8][2] = {{0, 0},     {128, 256}, {256, 256}, {0, 256},
                                  {0, 384},   {256, 384}, {128, 384}, {384, 384}};
  const int kind = kindOfIndex(code & IndexMask);
  const auto& cell = (code & GreenBit) ? green[kind] : red[kind];
  u = cell[0];
  v = cell[1];
}

Sprite SceneFixture::Piece(int32_t code, double x, double y, Tint tint) const {
  int u = 0, v = 0;
  CellOf(code, u, v);
  return {&pieces, x, y, 80, 80, u + 24.0, v + 24.0, 80, 80, tint};
}

Sprite SceneFixture::Shadow(double x, double y, Tint tint) const {
  return {&pieces, x, y, 80, 80, 280, 24, 80, 80, tint};
}

Sprite SceneFixture::Marker(double x, double y, Tint tint) const {
  return {&pieces, x, y, 43, 43, 435, 40, 43, 43, tint};
}

void SceneCentre(int square, double& x, double& y) {
  x = 152 + 90 * (square % 9);
  y = 884 - 90 * (square / 9);
}

double Distance(Color a, const Rgb& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

}  // namespace rq::test
