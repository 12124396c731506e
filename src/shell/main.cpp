// Ravenquill: the process entry. Opens the square game window once the game
// application exists, runs the loop, and lets the application save on the way out.
#include <SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/folders.h"
#include "game/game_application.h"
#include "install/install_dirs.h"
#include "interaction/interaction.h"
#include "interaction/open_game.h"
#include "platform/language.h"
#include "platform/texts.h"
#include "platform/sdl_platform.h"
#include "shell/window.h"

namespace {

// Claims the working folder for this copy: the game and settings files there belong to
// one running copy only. The claim is a lock on the folder itself, so nothing is created,
// and it ends with the process. False only when another copy holds it.
bool ClaimWorkingFolder() {
  const int fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;  // a folder that cannot be read cannot be checked either
  if (flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) return true;
  close(fd);
  return false;
}

// The catalogues beside the data of the folder the game was started in (a build tree links
// them there), else the installed ones.
std::string CatalogFolder(const rq::Folders& folders, const std::string& working) {
  std::error_code error;
  const std::string beside = working + "/locale";
  if (folders.use == rq::FolderCase::Working && std::filesystem::is_directory(beside, error)) return beside;
  return rq::InstalledLocaleDir;
}

// Refusals before the game exists, so that no file is touched.
int Refuse(rq::SdlPlatform& platform, const char* text) {
  platform.ShowMessage("Ravenquill", text, rq::MessageButtons::Ok, rq::MessageIcon::Exclamation);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // SDL 2.26 takes the X11 window class only from the environment, when video starts;
  // the desktop entry's StartupWMClass matches it.
  setenv("SDL_VIDEO_X11_WMCLASS", "Ravenquill", 0);
  rq::SdlPlatform platform;
  if (!platform.VideoReady()) {
    std::fprintf(stderr, "ERROR: Window Creation Error. (%s)\n", SDL_GetError());
    return 1;
  }
  // Installed, the game keeps its files in the player's data folder and works there, so
  // that every file name, and the one-copy claim below, stay as they are.
  std::error_code error;
  const std::string working = std::filesystem::current_path(error).string();
  // A file to open, named from where the game was started: the game may work elsewhere.
  const std::string fileToOpen = argc > 1 ? std::filesystem::absolute(argv[1], error).string() : std::string();
  const rq::Folders folders = rq::ChooseFolders(working, rq::InstalledDataDir, std::getenv("XDG_DATA_HOME"),
                                                std::getenv("HOME"), rq::HoldsRunTimeData);
  // The desktop's language until the settings are read.
  rq::BindCatalogs(CatalogFolder(folders, working));
  rq::UseLanguage(rq::SystemLanguage());
  if (folders.use == rq::FolderCase::NoData) return Refuse(platform, folders.problem.c_str());
  if (!folders.filesDir.empty() &&
      (!rq::MakeFilesFolder(folders.filesDir) || chdir(folders.filesDir.c_str()) != 0)) {
    const std::string text = rq::FormatText(_("Ravenquill cannot keep its files in %s."), folders.filesDir.c_str());
    return Refuse(platform, text.c_str());
  }
  if (!ClaimWorkingFolder()) {
    const std::string text =
        rq::FormatText(_("Ravenquill is already running with its files in\n  %s\nThey belong to that copy; this one closes."),
                       (folders.filesDir.empty() ? working : folders.filesDir).c_str());
    return Refuse(platform, text.c_str());
  }
  int exitCode = 0;
  {
    rq::GameApplication app(platform, folders.dataDir);
    rq::Shell shell;
    shell.platform = &platform;
    shell.app = &app;
    if (shell.OpenMainWindow("Ravenquill v1.0")) {
      if (!fileToOpen.empty()) rq::OpenGameFileAtStart(app, fileToOpen);
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
