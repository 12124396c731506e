#include "shell/events.h"

#include <SDL.h>

#include <algorithm>
#include <string>

#include "game/game_application.h"
#include "interaction/commands.h"
#include "interaction/interaction.h"
#include "interaction/open_game.h"
#include "render/backdrop.h"
#include "shell/key_map.h"
#include "shell/window.h"

namespace rq {

namespace {

// The square rule: the side follows the height, whichever edge was dragged.
void OnSizeChanged(Shell& shell, int width, int height) {
  const Uint32 flags = SDL_GetWindowFlags(shell.window);
  const bool managed = (flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN)) != 0;
  const bool askedBefore = width == shell.askedWidth && height == shell.askedHeight;
  const SizePlan plan = PlanForSize(width, height, managed, shell.LargestSide(), askedBefore);
  // Fitted at once: should the request be refused, no further event may come.
  shell.ResizeViewport(plan.pictureSide, plan.pictureSide, height);
  if (plan.requestSide > 0) {
    shell.askedWidth = width;
    shell.askedHeight = height;
    shell.RequestSquare(plan.requestSide);
  } else if (width == height) {
    shell.askedWidth = shell.askedHeight = 0;
  }
}

// Size, minimise and restore, the close box, and the pointer leaving.
void OnWindowEvent(Shell& shell, const SDL_WindowEvent& e) {
  switch (e.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED: OnSizeChanged(shell, e.data1, e.data2); break;
    case SDL_WINDOWEVENT_MINIMIZED: shell.windowActive = false; break;
    case SDL_WINDOWEVENT_RESTORED: shell.windowActive = true; break;
    case SDL_WINDOWEVENT_MAXIMIZED: {
      // The maximised state may be told after the size it brought: fit that size anew.
      shell.windowActive = true;
      int w = 0, h = 0;
      SDL_GetWindowSize(shell.window, &w, &h);
      OnSizeChanged(shell, w, h);
      break;
    }
    // Uncovered, the window is drawn anew, the backdrop too: a copy of it taken while something
    // lay over the window may hold pixels that were never drawn.
    case SDL_WINDOWEVENT_EXPOSED: ForgetBackdrop(); break;
    case SDL_WINDOWEVENT_CLOSE: shell.quit = true; break;
    case SDL_WINDOWEVENT_LEAVE: OnPointerLeave(*shell.app); break;
    default: break;
  }
}

// Only positions inside the client area reach the game, as without a mouse capture.
bool InsideClient(const Shell& shell, int x, int y) {
  int w = 0, h = 0;
  SDL_GetWindowSize(shell.window, &w, &h);
  return x >= 0 && y >= 0 && x < w && y < h;
}

// Keeps the key-down table by virtual-key code and hands key-downs to the game.
void OnKey(Shell& shell, const SDL_KeyboardEvent& e) {
  if (IsSystemKey(e.keysym.sym, e.keysym.mod)) return;
  const int vk = VirtualKeyOf(e.keysym.sym);
  if (vk == 0) return;
  if (e.type == SDL_KEYUP) {
    shell.keyDownTable[vk] = false;
    return;
  }
  // Escape in the position editor leaves the editor, not the game.
  if (vk == kVkEscape && shell.app->editor.active) return OnKeyDown(*shell.app, vk);
  shell.keyDownTable[vk] = true;
  if (vk == kVkEscape) shell.escapePressed = true;
  if (vk == KeyHelp && e.repeat) return;  // a held F1 opens the help page once
  // Ctrl with O, V or C opens, pastes or copies; with any other key it is not there, as before.
  if ((e.keysym.mod & KMOD_CTRL) != 0 && IsControlKey(vk)) {
    if (!e.repeat) OnControlKey(*shell.app, vk);
    return;
  }
  OnKeyDown(*shell.app, vk);  // auto-repeats too, like first presses
}

}  // namespace

SizePlan PlanForSize(int width, int height, bool managedSize, int largestSide, bool askedBefore) {
  SizePlan plan;
  plan.pictureSide = std::min(width, height);
  // Minimised to nothing counts as square: there is nothing to ask for.
  if (width <= 0 || height <= 0 || managedSize || askedBefore) return plan;
  const int side = std::clamp(height, kMinimumSide, std::max(largestSide, kMinimumSide));
  if (width != side || height != side) plan.requestSide = side;
  return plan;
}

void RouteEvent(Shell& shell, const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT: shell.quit = true; break;
    case SDL_WINDOWEVENT:
      if (event.window.windowID == SDL_GetWindowID(shell.window)) OnWindowEvent(shell, event.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: OnKey(shell, event.key); break;
    case SDL_MOUSEMOTION:
      if (InsideClient(shell, event.motion.x, event.motion.y))
        OnPointerMove(*shell.app, event.motion.x, event.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT && InsideClient(shell, event.button.x, event.button.y))
        OnButtonDown(*shell.app, event.button.x, event.button.y);
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT && InsideClient(shell, event.button.x, event.button.y))
        OnButtonUp(*shell.app, event.button.x, event.button.y);
      break;
    case SDL_DROPFILE:
      // A file dropped on the window opens as Ctrl+O's would; SDL gives the name to free.
      if (event.drop.file != nullptr) {
        const std::string path = event.drop.file;
        SDL_free(event.drop.file);
        OpenGameFile(*shell.app, path);
      }
      break;
    default: break;
  }
}

}  // namespace rq
