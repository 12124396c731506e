// The board picture, the pieces with their shadows, the latest-move arrow, the
// dragged piece and the computer's piece in flight.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/game_application.h"
#include "game/game_file_ranges.h"
#include "render/draw.h"
#include "render/scene_steps.h"
#include "render/textures.h"

namespace rq {

namespace {

constexpr double kHalfPi = 1.570796327;
constexpr double kPi = 3.141592654;
// The hint's gold, apart from the white of the latest move's arrow.
constexpr double kHintR = 1.0, kHintG = 0.75, kHintB = 0.1;
// The arrows' strength over the pieces: the faces they cross stay readable.
constexpr double kArrowAlpha = 0.5;
// The hint's arrow is drawn under the pieces too, so that over the board the two passes
// together are as strong as 0.85: 1 - (1 - 0.7) * (1 - kArrowAlpha).
constexpr double kHintUnderPiecesAlpha = 0.7;

// The square the board pass leaves empty while the computer's piece is in flight.
int HiddenSquare(const GameApplication& app) {
  return app.computerMoveAnimating ? app.animatedMove.from : -1;
}

// A generals' blink is due: the explanation is of facing generals.
bool GeneralsBlink(const GameApplication& app) {
  return app.explanationShown && app.settings.explainIllegalMoves && app.explanationReason == 1;
}

// A move's arrow in the colour set: a 16-unit band with the round dot's halves as caps.
void DrawMoveArrow(const GameApplication& app, const Move& m) {
  // A move without two distinct board squares has no direction to draw.
  if (m.from >= BoardSquares || m.to >= BoardSquares || m.from == m.to) return;
  Point a = BoardFrameCentre(app, m.from), b = BoardFrameCentre(app, m.to);
  a.y += 1;
  b.y += 1;
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  const double dx = (b.x - a.x) / length, dy = (b.y - a.y) / length;
  const double nx = -dy, ny = dx;
  struct Vertex {
    double along, across;  // multiples of 8 units along d and n
    bool atEnd;
    double u, v;
  };
  const Vertex strip[8] = {
      {-1, -1, false, 433, 82}, {-1, 1, false, 474, 82}, {0, -1, false, 433, 62},
      {0, 1, false, 474, 62},   {0, -1, true, 433, 62},  {0, 1, true, 474, 62},
      {1, -1, true, 433, 41},   {1, 1, true, 474, 41},
  };
  glBegin(GL_QUAD_STRIP);
  for (const Vertex& vtx : strip) {
    const Point base = vtx.atEnd ? b : a;
    glTexCoord2f(static_cast<float>(vtx.u / kAtlasSize), static_cast<float>(vtx.v / kAtlasSize));
    glVertex2f(static_cast<float>(base.x + 8 * vtx.along * dx + 8 * vtx.across * nx),
               static_cast<float>(base.y + 8 * vtx.along * dy + 8 * vtx.across * ny));
  }
  glEnd();
}

// The hinted piece's ring: the round marker, pulsing in size and strength, under the piece.
void DrawHintRing(const GameApplication& app) {
  const int from = app.hint.move.from;
  if (app.hint.stage < 1 || from >= BoardSquares || !IsPieceCode(app.savedBoard.squares[from])) return;
  const double q = std::abs(ClockPhase(app.platform->ElapsedMilliseconds(), 1000) - 500) * 0.002;
  const double scale = 2.15 + 0.2 * q;
  const Point c = BoardFrameCentre(app, from);
  glColor4d(kHintR, kHintG, kHintB, 0.55 + 0.35 * q);
  glPushMatrix();
  glTranslated(c.x, c.y, 0);
  glScaled(scale, scale, 1);
  DrawMarkerSprite(-kMarkerCentreX, -kMarkerCentreY);
  glPopMatrix();
}

}  // namespace

// The board image stretched over the whole client area, in pixels.
void DrawBoardPicture(GameApplication& app) {
  const double side = app.clientHeight;
  Textures().SetTexturing();
  Textures().BindTexture(kBoardTexture);
  glColor4d(1, 1, 1, 1);
  DrawTexturedRect(0, 0, 0, 0, side, side, side, side);
}

// Shadows, the hint's ring and arrow, then pieces (generals blinking for facing
// generals), then the arrows of the latest move and of the hint over them. Points are
// drawn by their places in the picture, top row first, whichever way the board lies.
void DrawBoardPieces(GameApplication& app) {
  OpenStep(app, kPiecesTexture);
  EnterBoardFrame(app);
  const int hidden = HiddenSquare(app);
  // The editor shows the position being set up, without the game's arrows and ring.
  const bool editing = app.editor.active;
  const uint8_t* squares = editing ? app.editor.squares : app.savedBoard.squares;

  glColor4d(1, 1, 1, 0.9);
  for (int place = 0; place < BoardSquares; ++place) {
    const int s = ShownSquare(app.boardTurned, place);
    if (!IsPieceCode(squares[s]) || s == hidden) continue;
    const Point c = BoardFrameCentre(app, s);
    DrawShadowSprite(c.x + 2 - 40, c.y - 4 - 40);
  }

  if (!editing) DrawHintRing(app);
  if (!editing && app.hint.stage == 2) {
    glColor4d(kHintR, kHintG, kHintB, kHintUnderPiecesAlpha);
    DrawMoveArrow(app, app.hint.move);
  }
  glColor4d(1, 1, 1, 1);
  const bool blink = GeneralsBlink(app);
  const double blinkAlpha =
      0.75 + (ClockPhase(app.platform->ElapsedMilliseconds(), 500) < 250 ? 0.25 : 0.0);
  for (int place = 0; place < BoardSquares; ++place) {
    const int s = ShownSquare(app.boardTurned, place);
    if (!IsPieceCode(squares[s]) || s == hidden) continue;
    const Point c = BoardFrameCentre(app, s);
    const bool general = (squares[s] & IndexMask) == GeneralIndex;
    if (blink && general) glColor4d(1, 1, 1, blinkAlpha);
    DrawPieceSprite(app, squares[s], c.x - 40, c.y - 40);
    if (blink && general) glColor4d(1, 1, 1, 1);
  }

  if (!editing && app.lastMove.status != NoLastMove && app.settings.highlightMove) {
    glColor4d(1, 1, 1, kArrowAlpha);
    DrawMoveArrow(app, app.lastMove);
  }
  if (!editing && app.hint.stage == 2) {
    glColor4d(kHintR, kHintG, kHintB, kArrowAlpha);
    DrawMoveArrow(app, app.hint.move);
  }
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  CloseStep();
}

// The held piece under the pointer, at its grab offset, with its shadow; the editor's
// piece centred under it.
void DrawDraggedPiece(GameApplication& app) {
  const bool editing = app.editor.active;
  const int32_t code = editing ? app.editor.heldCode : app.draggedPiece.code;
  if (code < 0) return;
  OpenStep(app, kPiecesTexture);
  if (!editing) glTranslated(app.draggedPiece.grabOffsetX, app.draggedPiece.grabOffsetY, 0);
  const double px = app.pointerX / app.viewScale;
  const double py = app.clientHeight / app.viewScale - app.pointerY / app.viewScale;
  glColor4d(1, 1, 1, 0.7);
  DrawShadowSprite(px + 10 - 40, py - 20 - 40);
  glColor4d(1, 1, 1, 1);
  DrawPieceSprite(app, code, px - 40, py - 40);
  glDisable(GL_BLEND);
  CloseStep();
}

// The computer's piece on its eased, lifted way between its squares.
void DrawComputerMove(GameApplication& app) {
  if (!app.computerMoveAnimating) return;
  const int from = app.animatedMove.from, to = app.animatedMove.to;
  if (from >= BoardSquares || to >= BoardSquares) return;
  OpenStep(app, kPiecesTexture);
  EnterBoardFrame(app);
  const double p = std::clamp(app.animProgress, 0.0, 1.0);
  const double e = (std::sin((2 * p - 1) * kHalfPi) + 1) * 0.5;
  const double h = std::sin(e * kPi);
  const Point a = BoardFrameCentre(app, from), b = BoardFrameCentre(app, to);
  const Point q{(1 - e) * a.x + e * b.x, (1 - e) * a.y + e * b.y};
  glColor4d(1, 1, 1, 0.9);
  DrawShadowSprite(q.x + 8 * h + 2 - 40, q.y - (16 * h + 4) - 40);
  glColor4d(1, 1, 1, 1);
  DrawPieceSprite(app, app.savedBoard.squares[from], q.x - 40, q.y - 40);
  CloseStep();
}

}  // namespace rq
