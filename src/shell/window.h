// The main window with its OpenGL context, and the shell's own state.
#pragma once

#include <cstdint>

struct SDL_Window;

namespace rq {

struct GameApplication;
class SdlPlatform;

struct Shell {
  SdlPlatform* platform = nullptr;
  GameApplication* app = nullptr;
  SDL_Window* window = nullptr;
  void* context = nullptr;  // SDL_GLContext
  bool windowActive = true;
  bool quit = false;
  bool escapePressed = false;  // latched: a tap shorter than a frame still ends the loop
  bool keyDownTable[256] = {};
  int mainWindowSize = 1024;
  // The non-square size last asked to become square; 0 by 0 when none.
  int askedWidth = 0;
  int askedHeight = 0;
  int modalWindowsSeen = 0;  // the platform's count of closed modal windows, as last seen

  // Sizes the window by the work area and opens it with its context and textures;
  // false (already reported) when it cannot be had.
  bool OpenMainWindow(const char* title);
  // Releases the context and the window, reporting failures as it goes on.
  void CloseMainWindow();
  // Sets the viewport and the scene scale for a client area of width by height,
  // the picture's top edge at the window's top.
  void ResizeViewport(int width, int height, int windowHeight = -1);
  // GL state of the whole run, the parameter list and the four textures.
  bool InitRenderState();
  // One frame of the scene.
  bool RenderFrame();
  // Dispatches every waiting event, then draws and swaps; returns at Escape or close.
  void RunMainLoop();
  // The largest side of a client area whose window, frame included, fits the usable screen.
  int LargestSide() const;
  // Asks the window manager for a square client area, moved up where it would leave
  // the usable screen at the bottom.
  void RequestSquare(int side);
  // After a modal window no button or key counts as held: its release went to the
  // discarded input.
  void ForgetInputHeldOverModal();
};

}  // namespace rq
