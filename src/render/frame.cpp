// The frame as the main loop draws it: the computer's turn first, the pause last.
// Apart from the scene steps, so that pictures can be drawn without the game's turn.
#include <GL/gl.h>

#include "game/game_application.h"
#include "interaction/interaction.h"
#include "render/scene.h"

namespace rq {

void DrawScene(GameApplication& app) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  UpdateComputerTurn(app);
  DrawSceneElements(app);
  app.platform->Sleep(FramePauseMilliseconds(app));
}

int32_t FramePauseMilliseconds(const GameApplication& app) {
  return app.usersTurnAtFrameStart || app.computerMoveAnimating ? 15 : 100;
}

}  // namespace rq
