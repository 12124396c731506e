#include "shell/window.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>

#include "game/game_application.h"
#include "interaction/interaction.h"
#include "platform/sdl_platform.h"
#include "platform/texts.h"
#include "render/scene.h"
#include "render/textures.h"
#include "shell/events.h"
#include "shell/key_map.h"
#include "shell/start_size.h"
#include "shell/window_icon.h"

namespace rq {

namespace {

constexpr int32_t kLongestRestMs = 250;
constexpr int32_t kSettleMs = 500;
constexpr int32_t kGtkRestMs = 15;

// Start-up failures: no owner window, title "ERROR"; `text` is marked where it is written.
void ReportOpenFailure(SdlPlatform& platform, const char* text) {
  platform.ShowMessage(_("ERROR"), _(text), MessageButtons::Ok, MessageIcon::Exclamation);
}

// Teardown failures are shown and the teardown goes on.
void ReportCloseFailure(SdlPlatform& platform, const char* text) {
  platform.ShowMessage(_("SHUTDOWN ERROR"), _(text), MessageButtons::Ok, MessageIcon::Information);
}

// The work area: the display less its panels, else the whole display.
SDL_Rect WorkArea() {
  SDL_Rect r{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &r) != 0 || r.w <= 0 || r.h <= 0)
    if (SDL_GetDisplayBounds(0, &r) != 0) r = SDL_Rect{0, 0, 1280, 1024};
  return r;
}

// The usable area of the display that shows the window.
SDL_Rect UsableAreaOf(SDL_Window* window) {
  SDL_Rect r{0, 0, 0, 0};
  const int display = SDL_GetWindowDisplayIndex(window);
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &r) != 0 || r.w <= 0 || r.h <= 0)
    return WorkArea();
  return r;
}

// The window manager's frame; all 0 without one.
void FrameOf(SDL_Window* window, int& top, int& left, int& bottom, int& right) {
  if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0)
    top = left = bottom = right = 0;
}

// Waits briefly for the window manager to tell the frame of the shown window.
bool MeasureFrame(SDL_Window* window, int& top, int& left, int& bottom, int& right) {
  for (int tries = 0; tries < 20; ++tries) {
    SDL_PumpEvents();
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) == 0 &&
        top + left + bottom + right > 0)
      return true;
    SDL_Delay(10);
  }
  top = left = bottom = right = 0;
  return false;
}

}  // namespace

bool Shell::OpenMainWindow(const char* title) {
  const SDL_Rect work = WorkArea();
  int side = StartWindowSide(work.w, work.h, FrameMetrics{}, mainWindowSize);

  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);

  window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_UNDEFINED, side, side,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
  if (window == nullptr) {
    CloseMainWindow();
    ReportOpenFailure(*platform, N_("Window Creation Error."));
    return false;
  }
  if (SDL_Surface* icon = LoadWindowIcon()) {
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
  }
  context = SDL_GL_CreateContext(window);
  if (context == nullptr) {
    CloseMainWindow();
    ReportOpenFailure(*platform, N_("Can't Create A GL Rendering Context."));
    return false;
  }
  if (SDL_GL_MakeCurrent(window, context) != 0) {
    CloseMainWindow();
    ReportOpenFailure(*platform, N_("Can't Activate The GL Rendering Context."));
    return false;
  }

  // The pause at the end of each frame paces the loop; waiting for the display too would
  // double it.
  SDL_GL_SetSwapInterval(0);
  SDL_ShowWindow(window);
  int top = 0, left = 0, bottom = 0, right = 0;
  const bool known = MeasureFrame(window, top, left, bottom, right);
  // With the real frame known, the size may need to come down a little.
  const int measured =
      StartWindowSide(work.w, work.h, MetricsFromBorders(known, top, left, bottom, right),
                      mainWindowSize);
  if (measured != side) {
    side = measured;
    SDL_SetWindowSize(window, side, side);
  }
  mainWindowSize = side;
  // Centred across the work area, 10 pixels below its top.
  SDL_SetWindowPosition(window, work.x + (work.w - (side + left + right)) / 2 + left,
                        work.y + 10 + top);
  SDL_RaiseWindow(window);
  SDL_DisableScreenSaver();
  SDL_SetWindowMinimumSize(window, kMinimumSide, kMinimumSide);

  ResizeViewport(side, side);
  if (!InitRenderState()) {
    CloseMainWindow();
    ReportOpenFailure(*platform, N_("Initialization Failed."));
    return false;
  }
  platform->SetMainWindow(window);
  return true;
}

void Shell::CloseMainWindow() {
  if (platform != nullptr) platform->SetMainWindow(nullptr);
  if (context != nullptr) {
    if (SDL_GL_MakeCurrent(window, nullptr) != 0)
      ReportCloseFailure(*platform, N_("Release Of DC And RC Failed."));
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
    context = nullptr;
  }
  if (window != nullptr) {
    SDL_DestroyWindow(window);
    window = nullptr;
  }
}

void Shell::ResizeViewport(int width, int height, int windowHeight) {
  if (height == 0) height = 1;
  // A picture smaller than the window keeps to its top edge, where pointer y starts.
  const int bottom = windowHeight > height ? windowHeight - height : 0;
  glViewport(0, bottom, width, height);
  app->clientWidth = width;
  app->clientHeight = height;
  app->viewScale = height * 0.0009765625;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / height, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

bool Shell::InitRenderState() {
  glShadeModel(GL_SMOOTH);
  glClearColor(0, 0, 0, 0.5f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  Textures().BuildTextureParamList();
  Textures().LoadAllTextures(app->dataDir, LanguageFolder(app->language));  // a missing image leaves its slot empty; the game goes on
  return true;
}

bool Shell::RenderFrame() {
  DrawScene(*app);
  return true;
}

int Shell::LargestSide() const {
  const SDL_Rect usable = UsableAreaOf(window);
  int top = 0, left = 0, bottom = 0, right = 0;
  FrameOf(window, top, left, bottom, right);
  return std::min(usable.h - top - bottom, usable.w - left - right);
}

// Straight to X11 where the game runs there: SDL's own call waits for the answer and,
// when the window manager refuses, reports the size asked for as if it were granted.
void Shell::RequestSquare(int side) {
  const SDL_Rect usable = UsableAreaOf(window);
  int top = 0, left = 0, bottom = 0, right = 0, x = 0, y = 0;
  FrameOf(window, top, left, bottom, right);
  SDL_GetWindowPosition(window, &x, &y);
  const int highest = usable.y + top, lowest = usable.y + usable.h - bottom - side;
  const bool move = y > lowest;
  if (move) y = std::max(lowest, highest);
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
    Display* display = info.info.x11.display;
    // Positions count from the frame's corner, as SDL places the window.
    if (move)
      XMoveResizeWindow(display, info.info.x11.window, x - left, y - top, side, side);
    else
      XResizeWindow(display, info.info.x11.window, side, side);
    XFlush(display);
    return;
  }
  SDL_SetWindowSize(window, side, side);
  if (move) SDL_SetWindowPosition(window, x, y);
}

void Shell::ForgetInputHeldOverModal() {
  if (platform == nullptr || platform->ModalWindowsClosed() == modalWindowsSeen) return;
  modalWindowsSeen = platform->ModalWindowsClosed();
  for (bool& down : keyDownTable) down = false;
  escapePressed = false;
  EndDrag(*app);
  app->buttonDown = false;
}

// Draws only while the picture changes: with nothing moving it waits for the next event,
// or for the next timed change, and draws at once when either comes.
void Shell::RunMainLoop() {
  SDL_Event event;
  bool changed = true;
  int modalsAtFrame = modalWindowsSeen;
  int32_t drawUntil = 0;
  while (!quit) {
    ForgetInputHeldOverModal();
    changed |= modalWindowsSeen != modalsAtFrame;  // uncovered, the window shows the frame again
    if (SDL_PollEvent(&event)) {
      RouteEvent(*this, event);
      changed = true;
      continue;
    }
    // The record window is served on every pass, never waited for.
    platform->ServeGtk();
    ServeMoveRecord(*app);
    if (!windowActive && (keyDownTable[kVkEscape] || escapePressed)) break;
    // Minimised, nothing is drawn until the window comes back. After a change the frames
    // go on a little: a window manager may resize the window after the frame was drawn,
    // and a window that shrinks is told nothing.
    const int32_t now = platform->ElapsedMilliseconds();
    if (changed) drawUntil = now + kSettleMs;
    const int32_t still = !windowActive ? -1 : now - drawUntil < 0 ? 0 : PictureStillFor(*app, now);
    if (still != 0) {
      // Waits are short enough that SDL turns a SIGTERM into its quit event soon: it does
      // so only between waits. GTK's events come on its own X connection, which SDL does
      // not see, so while the record window is served the waits are shorter still.
      const int32_t longest = platform->GtkNeedsServing() ? kGtkRestMs : kLongestRestMs;
      const int32_t wait = still < 0 ? longest : std::min(still, longest);
      if (SDL_WaitEventTimeout(nullptr, wait) == 1 || still < 0 || still > wait) continue;
    }
    changed = false;
    modalsAtFrame = modalWindowsSeen;
    RenderFrame();
    ForgetInputHeldOverModal();  // a dialog may have run inside the frame
    if (keyDownTable[kVkEscape] || escapePressed) break;
    SDL_GL_SwapWindow(window);
    AnnounceEndOfGame(*app);  // over the frame just shown
  }
}

}  // namespace rq
