#include "game/folders.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/language.h"
#include "platform/texts.h"

namespace rq {

Folders ChooseFolders(const std::string& workingDir, const std::string& installedDir,
                      const char* xdgDataHome, const char* home,
                      bool (*hasData)(const std::string& dir)) {
  Folders f;
  if (hasData(workingDir)) {
    f.use = FolderCase::Working;
    return f;
  }
  std::string base;
  if (xdgDataHome != nullptr && xdgDataHome[0] == '/') base = xdgDataHome;
  else if (home != nullptr && home[0] == '/') base = std::string(home) + "/.local/share";
  if (!hasData(installedDir)) {
    f.problem = FormatText(_("Ravenquill cannot find its data (Textures/, Documentation/ and arrowcop.cur).\n"
                             "It looked in the folder it was started in,\n  %s\nand in the installed data folder,\n  %s"),
                           workingDir.c_str(), installedDir.c_str());
    return f;
  }
  if (base.empty()) {
    f.problem = _("Ravenquill has no folder for its games: neither XDG_DATA_HOME nor HOME names one.");
    return f;
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  f.use = FolderCase::Installed;
  f.dataDir = installedDir;
  f.filesDir = base + "/ravenquill";
  return f;
}

bool HoldsRunTimeData(const std::string& dir) {
  struct stat st;
  return stat((dir + "/Textures").c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         stat((dir + "/Documentation").c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         stat((dir + "/arrowcop.cur").c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool MakeFilesFolder(const std::string& dir) {
  for (size_t at = 1; at <= dir.size(); ++at) {
    if (at < dir.size() && dir[at] != '/') continue;
    if (mkdir(dir.substr(0, at).c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace rq
