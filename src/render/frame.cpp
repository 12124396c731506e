// The frame as the main loop draws it: the computer's turn first, the pause last.
// Apart from the scene steps, so that pictures can be drawn without the game's turn.
#include <GL/gl.h>

#include <algorithm>

#include "game/game_application.h"
#include "interaction/command_menu.h"
#include "interaction/hint.h"
#include "interaction/interaction.h"
#include "render/draw.h"
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

namespace {

// Pulsing markers are drawn anew this often, at the clock's multiples of it (so the pulse's
// brightest and faintest pictures are among them): 20 pictures a second, between which a
// marker's alpha moves by at most 0.02, two or three of 255 levels over the board: too
// small a step to be seen. Faster would only burn the processor.
constexpr int32_t kPulseFrameMs = 50;
constexpr int32_t kBlinkHalfMs = 250;

// Some candidate marker is on show, and so pulsing.
bool MarkersPulse(const GameApplication& app) {
  if (!app.candidatesShown || !(app.settings.showIllegalMoves || app.settings.showMoves)) return false;
  for (int i = 0; i < std::clamp(app.candidateCount, 0, CandidateCapacity); ++i) {
    const Move& m = app.candidateMoves[i];
    if (m.to < BoardSquares && (m.status < 0 ? app.settings.showIllegalMoves : app.settings.showMoves)) return true;
  }
  return false;
}

}  // namespace

int32_t PictureStillFor(GameApplication& app, int32_t now) {
  const bool usersTurn = UnderGameLock(
      app.game, [&] { return app.game.usersTurn && !app.game.searchRequested && !app.game.searching; });
  if (!usersTurn || app.computerMoveAnimating || app.computerMoveReady || app.userEndAnnouncement ||
      app.computerEndAnnouncement || HintAnimating(app))
    return 0;
  if (!app.settings.autoHideMenu ? !app.menuVisible
                        : app.menuVisible ? now - app.menuShownAt < MenuFadeInMs : MenuFadeOutLeft(app, now) > 0)
    return 0;
  int32_t still = -1;
  if (MarkersPulse(app)) still = kPulseFrameMs - ClockPhase(now, kPulseFrameMs);
  if (app.explanationShown && app.settings.explainIllegalMoves && app.explanationReason == 1) {
    const int32_t blink = kBlinkHalfMs - ClockPhase(now, kBlinkHalfMs);
    still = still < 0 ? blink : std::min(still, blink);
  }
  return still;
}

}  // namespace rq
