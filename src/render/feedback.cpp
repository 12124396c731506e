// The game's feedback around the board: candidate-move markers, the captured
// pieces with the latest capture ringed, and the prohibited-move banner.
#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

#include "game/game_application.h"
#include "interaction/position_editor.h"
#include "render/draw.h"
#include "render/scene_steps.h"
#include "render/textures.h"

namespace rq {

namespace {

struct Tint {
  double r, g, b, a;
};

// Marker colour by candidate status; q is the pulse, 0 to 1.
Tint MarkerTint(int32_t status, double q) {
  if (status == 0 || status == 1) return {1, 1, 1, 0.6 + 0.2 * q};
  if (status >= 2) return {1, 1, 1, 0.4 + 0.2 * q};
  if (status == -1) return {1, 1, 0, 0.6 + 0.2 * q};
  if (status == -2) return {0.5, 0.5, 1, 0.6 + 0.2 * q};
  if (status == -3) return {1, 0.5, 0, 0.6 + 0.2 * q};
  if (status == -4) return {0, 1, 1, 0.6 + 0.2 * q};
  return {1, 0, 0, 0.4 + 0.2 * q};
}

// The editor's tray in the captured pieces' stead: every kind of each side, faint where the
// side has all of that kind on the board, and a ring behind the general of the side to move.
void DrawEditorTray(const GameApplication& app) {
  OpenStep(app, kPiecesTexture);
  for (int side = Red; side <= Green; ++side) {
    const ScenePoint ring = TrayCentre(side, General);
    if (side == app.editor.sideToMove) {
      glColor4d(1.0, 0.75, 0.1, 0.8);
      glPushMatrix();
      glTranslated(ring.x, SceneSize - ring.y, 0);
      glScaled(2.4, 2.4, 1);
      DrawMarkerSprite(-kMarkerCentreX, -kMarkerCentreY);
      glPopMatrix();
    }
    for (int kind = 1; kind <= TrayKinds; ++kind) {
      const ScenePoint c = TrayCentre(side, kind);
      glColor4d(1, 1, 1, FreePiece(app.editor.squares, side, kind) != 0 ? 1.0 : 0.35);
      DrawPieceSprite(app, colourBit(side) | KindFirstIndex[kind], c.x - 40, SceneSize - c.y - 40);
    }
  }
  glDisable(GL_BLEND);
  CloseStep();
}

// One column group of captured pieces; d is -1 when rows go down, +1 when up.
void DrawCapturedGroup(const GameApplication& app, const uint8_t* codes, int32_t count,
                       double originX, double originY, int d) {
  OpenStep(app, kPiecesTexture);
  glTranslated(originX, originY, 0);
  glScaled(0.6, 0.6, 1);
  const bool ringable = app.lastMove.status != NoLastMove && app.lastMove.captured != 0;
  for (int i = 0; i < std::clamp(count, 0, EatenCapacity); ++i) {
    const int c = i / 8, r = i % 8;
    glColor4d(1, 1, 1, 0.9);
    DrawShadowSprite(78.0 * c + 26, 20.0 + 78.0 * r * d);
    if (ringable && app.lastMove.captured == codes[i]) {
      glScaled(2.3, 2.3, 1);
      glColor4d(1, 1, 1, 0.65);
      DrawMarkerSprite((78.0 * c + 20.5) / 2.3, (15.5 + 78.0 * r * d) / 2.3);
      glScaled(0.4347826086956522, 0.4347826086956522, 1);
    }
    glColor4d(1, 1, 1, 1);
    DrawPieceSprite(app, codes[i], 78.0 * c + 24, 24.0 + 78.0 * r * d);
  }
  CloseStep();
}

}  // namespace

// A pulsing marker on every point the hovered or held piece could go to.
void DrawCandidateMarkers(GameApplication& app) {
  if (!app.candidatesShown || !(app.settings.showIllegalMoves || app.settings.showMoves)) return;
  const double q = std::abs(ClockPhase(app.platform->ElapsedMilliseconds(), 1000) - 500) * 0.002;
  OpenStep(app, kPiecesTexture);
  EnterBoardFrame(app);
  const int count = std::clamp(app.candidateCount, 0, CandidateCapacity);
  for (int i = 0; i < count; ++i) {
    const Move& m = app.candidateMoves[i];
    if (m.to >= BoardSquares) continue;
    const Point c = BoardFrameCentre(app, m.to);
    const Tint t = MarkerTint(m.status, q);
    glColor4d(t.r, t.g, t.b, t.a);
    const bool shown = m.status < 0 ? app.settings.showIllegalMoves : app.settings.showMoves;
    if (shown) DrawMarkerSprite(c.x - 19, c.y - 22);
  }
  glDisable(GL_BLEND);
  CloseStep();
}

// Red's losses from the corner on green's side of the board, green's from the corner on
// red's: with red at the bottom, red's from the top left down and green's from the bottom
// left up; turned, the other way round.
void DrawCapturedPieces(GameApplication& app) {
  if (app.editor.active) return DrawEditorTray(app);
  const double x = app.boardOriginX - 157, top = app.boardOriginY - 50, bottom = app.boardOriginY - 830;
  const bool turned = app.boardTurned;
  DrawCapturedGroup(app, app.eatenRed, app.eatenRedCount, x, turned ? bottom : top, turned ? +1 : -1);
  DrawCapturedGroup(app, app.eatenGreen, app.eatenGreenCount, x, turned ? top : bottom, turned ? -1 : +1);
}

// The strip that says why the point under the held piece is prohibited.
void DrawExplanationBanner(GameApplication& app) {
  if (!app.explanationShown || !app.settings.explainIllegalMoves) return;
  const int reason = app.explanationReason;
  if (reason < 2 || reason > 4) return;
  const double srcY = reason == 2 ? 148 : reason == 3 ? 275 : 401;
  OpenStep(app, kPiecesTexture);
  glColor4d(1, 1, 1, 1);
  DrawTexturedRect(256, 2, 0, srcY, 512, 40, kAtlasSize, kAtlasSize);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  CloseStep();
}

}  // namespace rq
