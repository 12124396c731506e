#include "render/draw.h"

#include <GL/gl.h>

#include "game/game_application.h"
#include "game/game_file_ranges.h"
#include "render/textures.h"

namespace rq {

void DrawTexturedRect(double x, double y, double srcX, double srcY, double w, double h,
                      double texW, double texH) {
  const double s0 = srcX / texW;
  const double s1 = (srcX + w) / texW;
  const double t0 = (texH - srcY) / texH;
  const double t1 = (texH - srcY + h) / texH;
  glBegin(GL_QUADS);
  glTexCoord2f(static_cast<float>(s0), static_cast<float>(t0));
  glVertex2f(static_cast<float>(x), static_cast<float>(y));
  glTexCoord2f(static_cast<float>(s1), static_cast<float>(t0));
  glVertex2f(static_cast<float>(x + w), static_cast<float>(y));
  glTexCoord2f(static_cast<float>(s1), static_cast<float>(t1));
  glVertex2f(static_cast<float>(x + w), static_cast<float>(y + h));
  glTexCoord2f(static_cast<float>(s0), static_cast<float>(t1));
  glVertex2f(static_cast<float>(x), static_cast<float>(y + h));
  glEnd();
}

void OpenStep(const GameApplication& app, int texture) {
  Textures().SetTexturing();
  Textures().BindTexture(texture);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glPushMatrix();
  glScaled(app.viewScale, app.viewScale, 1);
}

void CloseStep() { glPopMatrix(); }

void EnterBoardFrame(const GameApplication& app) {
  glTranslated(app.boardOriginX - 64, app.boardOriginY - 64, 0);
}

Point BoardFrameCentre(const GameApplication& app, int square) {
  const Point centre = PointCentre(app, square);
  return {centre.x - (app.boardOriginX - 64), centre.y - (app.boardOriginY - 64)};
}

void DrawPieceSprite(const GameApplication& app, int32_t code, double x, double y) {
  if (!IsPieceCode(code)) return;  // a stray code from a damaged file draws nothing
  DrawTexturedRect(x, y, app.pieceSpriteX[code] + 24, app.pieceSpriteY[code] - 24, kPieceSize,
                   kPieceSize, kAtlasSize, kAtlasSize);
}

void DrawShadowSprite(double x, double y) {
  DrawTexturedRect(x, y, kShadowSrcX, kShadowSrcY, kPieceSize, kPieceSize, kAtlasSize,
                   kAtlasSize);
}

void DrawMarkerSprite(double x, double y) {
  DrawTexturedRect(x, y, kMarkerSrcX, kMarkerSrcY, kMarkerSize, kMarkerSize, kAtlasSize,
                   kAtlasSize);
}

int32_t ClockPhase(int32_t now, int32_t period) { return ((now % period) + period) % period; }

}  // namespace rq
