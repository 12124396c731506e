// The crystal ball that fills while the computer thinks, and the search-depth dots.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/game_application.h"
#include "render/draw.h"
#include "render/scene_steps.h"
#include "render/textures.h"

namespace rq {

namespace {

constexpr double kHalfPi = 1.570796327;
constexpr double kRadiansPerDegree = 0.017453292522222223;
constexpr int kMaxDepthDots = 25;

// The glowing sector: from twelve o'clock clockwise, progress * 360 degrees
// rounded up to the next 5, textured from the matching disc of the image.
void DrawProgressFan(double progress) {
  glBegin(GL_TRIANGLE_FAN);
  glTexCoord2f(0.48828125f, 0.6796875f);
  glVertex2f(40, 43);
  for (int a = 0; a <= 360; a += 5) {
    const double theta = (90 - a) * kRadiansPerDegree;
    const double c = std::cos(theta), s = std::sin(theta);
    glTexCoord2f(static_cast<float>((40 * c + 125) * 0.00390625),
                 static_cast<float>((128 - (41 - 40 * s)) * 0.0078125));
    glVertex2f(static_cast<float>(40 * c + 40), static_cast<float>(40 * s + 43));
    if (a * 0.002777777777777778 > progress) break;
  }
  glEnd();
}

}  // namespace

// The ball while the computer thinks (for its move or for a hint), and always the
// dots of the search depth.
void DrawCrystalBall(GameApplication& app) {
  if (app.editor.active) return;  // the editor's tray stands where the ball is
  const bool hint = app.hint.asked != 0;
  int32_t depthLimit;
  bool usersTurn;
  {
    GameLockGuard hold(app.game);
    depthLimit = hint ? app.game.hintRecord.depthLimit : app.game.record.depthLimit;
    usersTurn = app.game.usersTurn;
  }

  if (!usersTurn || hint) {
    const double progress = UnderGameLock(app.game, [&] { return app.game.progress; });
    const int32_t phase = ClockPhase(app.platform->ElapsedMilliseconds(), 1000);
    const double glow = std::sin(std::abs(phase - 500) * 0.002 * kHalfPi);

    OpenStep(app, kCrystalBallTexture);
    glTranslated(20, 437, 0);
    glColor4d(1, 1, 1, 1);
    DrawTexturedRect(0, 0, 1, -42, 78, 84, 256, 128);
    glColor4d(0, 0.8, 0.2, 0.35 + 0.3 * glow);
    glTranslated(-1, 2.5, 0);
    DrawProgressFan(progress);
    glDisable(GL_BLEND);
    CloseStep();
  }

  OpenStep(app, kPiecesTexture);
  glTranslated(44, 494, 0);
  glColor4d(1, 1, 1, 1);
  glScaled(0.1, 0.1, 0.1);
  const int dots = std::clamp(depthLimit, 0, kMaxDepthDots);
  for (int i = 0; i < dots; ++i) DrawMarkerSprite(64.0 * (i % 5), -64.0 * (i / 5));
  CloseStep();
}

}  // namespace rq
