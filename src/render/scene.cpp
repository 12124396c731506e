#include "render/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "game/game_application.h"
#include "render/backdrop.h"
#include "render/scene_steps.h"
#include "render/textures.h"

namespace rq {

void DrawSceneElements(GameApplication& app) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, app.clientWidth, 0, app.clientHeight);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  // The words in the pictures follow a language chosen in the settings.
  Textures().FollowLanguage(app.dataDir, LanguageFolder(app.language));

  DrawBackdrop(app);  // board picture, captured pieces, pieces on the board
  DrawCandidateMarkers(app);
  DrawDraggedPiece(app);
  DrawExplanationBanner(app);
  DrawCrystalBall(app);
  DrawComputerMove(app);
  DrawCommandMenu(app);
}

}  // namespace rq
