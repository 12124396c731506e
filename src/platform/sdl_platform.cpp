#include "platform/sdl_platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/cursor_file.h"
#include "platform/language.h"
#include "player/clock.h"

namespace rq {

// Starts SDL video on a desktop display, with no mouse capture, no swallowed focus click
// and no screen saver.
SdlPlatform::SdlPlatform() {
  // Clicks released outside the window must not reach the game (no capture).
  SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
  // The click that brings the window back to the front counts: a player's first drag after
  // working in another window (the record window) must play.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
  videoReady_ = SDL_Init(SDL_INIT_VIDEO) == 0;
  // Without a desktop SDL falls back to drawing nowhere: the game would run unseen.
  // Those drivers are taken only when asked for by name.
  const char* driver = videoReady_ ? SDL_GetCurrentVideoDriver() : nullptr;
  const bool desktop = driver != nullptr &&
                       (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0);
  if (videoReady_ && !desktop && std::getenv("SDL_VIDEODRIVER") == nullptr) {
    SDL_Quit();
    videoReady_ = false;
    SDL_SetError("no display (DISPLAY or WAYLAND_DISPLAY is not set or cannot be opened)");
  }
}

// Closes the record window, frees the cursors and closes SDL.
SdlPlatform::~SdlPlatform() {
  CloseMoveList();
  for (int i = 0; i < cursorCount_; ++i) SDL_FreeCursor(cursors_[i]);
  if (videoReady_) SDL_Quit();
}

// Remembers a new cursor so that it is freed with the platform.
CursorHandle SdlPlatform::Keep(SDL_Cursor* cursor) {
  if (cursor == nullptr) return nullptr;
  if (cursorCount_ == kMaxCursors) {
    SDL_FreeCursor(cursor);
    return nullptr;
  }
  cursors_[cursorCount_++] = cursor;
  return cursor;
}

// gethostname, cut to the 15 characters the file names were made for.
std::string SdlPlatform::ComputerName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return std::string();
  return std::string(name, strnlen(name, 15));
}

// The arrow, or the arrow with the busy sign.
CursorHandle SdlPlatform::SystemCursor(CursorKind kind) {
  if (!videoReady_) return nullptr;
  return Keep(SDL_CreateSystemCursor(kind == CursorKind::Busy ? SDL_SYSTEM_CURSOR_WAITARROW
                                                              : SDL_SYSTEM_CURSOR_ARROW));
}

// A colour cursor from our own .cur reader, with the file's hot spot.
CursorHandle SdlPlatform::CursorFromFile(const char* path) {
  if (!videoReady_) return nullptr;
  CursorImage image;
  if (!ReadCursorFile(path, image)) return nullptr;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      image.rgba.data(), image.width, image.height, 32, image.width * 4, SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) return nullptr;
  SDL_Cursor* cursor = SDL_CreateColorCursor(surface, image.hotX, image.hotY);
  SDL_FreeSurface(surface);
  return Keep(cursor);
}

// A cursor that could not be made shows as the arrow: the pointer never disappears.
void SdlPlatform::SetCursor(CursorHandle cursor) {
  if (!videoReady_) return;
  SDL_Cursor* shown = cursor != nullptr ? static_cast<SDL_Cursor*>(cursor) : SDL_GetDefaultCursor();
  if (shown != nullptr && shown != SDL_GetCursor()) SDL_SetCursor(shown);
}

// The same clock as the search's budget, so every timed effect agrees.
int32_t SdlPlatform::ElapsedMilliseconds() { return rq::ElapsedMilliseconds(); }

// Pauses the calling thread.
void SdlPlatform::Sleep(int32_t milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SdlPlatform::DiscardInputBehindModal() {
  ++modalWindowsClosed_;
  if (!videoReady_) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  // A round trip to the X server first, so that everything it sent before is queued.
  if (mainWindow_ != nullptr && SDL_GetWindowWMInfo(mainWindow_, &info) &&
      info.subsystem == SDL_SYSWM_X11)
    XSync(info.info.x11.display, False);
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_KEYDOWN, SDL_MULTIGESTURE);
}

// xdg-open's own answer, as SDL_OpenURL reports success even when nothing opens the
// address. A handler still running after two seconds has taken it (a browser started in
// the foreground); a watcher process apart waits for it, so the game never does.
bool SdlPlatform::OpenUrl(const std::string& url) {
  // Made before the fork: the child only runs the handler.
  const std::vector<std::string> variables = DesktopEnvironment();
  std::vector<char*> environment;
  for (const std::string& v : variables) environment.push_back(const_cast<char*>(v.c_str()));
  environment.push_back(nullptr);
  char* const arguments[] = {const_cast<char*>("xdg-open"), const_cast<char*>(url.c_str()), nullptr};
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  const pid_t first = fork();
  if (first == 0) {
    if (fork() != 0) _exit(0);
    const pid_t opener = fork();
    if (opener == 0) {
      const int devnull = open("/dev/null", O_RDONLY);
      if (devnull >= 0) dup2(devnull, 0);
      execvpe("xdg-open", arguments, environment.data());
      _exit(127);
    }
    int status = 0;
    unsigned char taken = opener > 0 && waitpid(opener, &status, 0) == opener && WIFEXITED(status) &&
                          WEXITSTATUS(status) == 0;
    if (write(fds[1], &taken, 1) != 1) _exit(1);
    _exit(0);
  }
  close(fds[1]);
  bool taken = false;
  if (first > 0) {
    waitpid(first, nullptr, 0);
    pollfd answer{fds[0], POLLIN, 0};
    unsigned char byte = 0;
    taken = poll(&answer, 1, 2000) == 0 || (read(fds[0], &byte, 1) == 1 && byte == 1);
  }
  close(fds[0]);
  return taken;
}

}  // namespace rq
