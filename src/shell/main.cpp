// Ravenquill: the process entry. Opens the square game window once the game
// application exists, runs the loop, and lets the application save on the way out.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "game/game_application.h"
#include "interaction/interaction.h"
#include "platform/sdl_platform.h"
#include "shell/window.h"

int main(int, char**) {
  // SDL 2.26 takes the X11 window class only from the environment, when video starts;
  // the desktop entry's StartupWMClass matches it.
  setenv("SDL_VIDEO_X11_WMCLASS", "Ravenquill", 0);
  rq::SdlPlatform platform;
  if (!platform.VideoReady()) {
    std::fprintf(stderr, "ERROR: Window Creation Error. (%s)\n", SDL_GetError());
    return 1;
  }
  int exitCode = 0;
  {
    rq::GameApplication app(platform);
    rq::Shell shell;
    shell.platform = &platform;
    shell.app = &app;
    if (shell.OpenMainWindow("Ravenquill v1.0")) {
      shell.RunMainLoop();
      shell.CloseMainWindow();
    } else {
      exitCode = 1;
    }
    // A piece still in the hand goes back to its square before the game is saved.
    rq::EndDrag(app);
  }
  return exitCode;
}
