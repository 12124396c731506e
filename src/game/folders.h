// Which folders a run uses: where the run-time data (Textures/, Documentation/,
// arrowcop.cur) is read from, and where the settings, the current game and the archive
// are kept.
#pragma once

#include <string>

namespace rq {

enum class FolderCase { Working, Installed, NoData };

struct Folders {
  FolderCase use = FolderCase::NoData;
  std::string dataDir;   // empty: the working folder, with the paths relative as always
  std::string filesDir;  // empty: the working folder
  std::string problem;   // for NoData: what was looked for, and where
};

// A started-from folder with the data wins; else the installed data with the files in
// $XDG_DATA_HOME/ravenquill (a relative value ignored, as the XDG rules say), by default
// HOME/.local/share/ravenquill. Null environment values count as unset.
Folders ChooseFolders(const std::string& workingDir, const std::string& installedDir,
                      const char* xdgDataHome, const char* home,
                      bool (*hasData)(const std::string& dir));

// Whether `dir` holds Textures/, Documentation/ and arrowcop.cur.
bool HoldsRunTimeData(const std::string& dir);

// Makes `dir` and any missing parents, each for the owner alone; true when it is a folder.
bool MakeFilesFolder(const std::string& dir);

// `name` in the data folder: as it is for the working folder.
inline std::string DataPath(const std::string& dataDir, const char* name) {
  return dataDir.empty() ? std::string(name) : dataDir + "/" + name;
}

}  // namespace rq
