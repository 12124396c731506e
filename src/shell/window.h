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
  int requestedSide = 0;  // square side asked of the window manager, 0 when none

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
};

}  // namespace rq
