// Where a run reads its data and keeps its files, by what the folders hold.
#include <gtest/gtest.h>

#include "game/folders.h"

namespace rq {
namespace {

const char* dataAt = "";  // the one folder the probe finds the data in
bool Probe(const std::string& dir) { return dir == dataAt; }

TEST(Folders, DataFromTheWorkingFolderElseInstalledWithFilesInTheUsersDataFolder) {
  const struct Row { const char *what, *dataIn, *xdg, *home; FolderCase use; const char *dataDir, *filesDir; } rows[] = {
      {"started beside the data: as always", "/w", "/x", "/h", FolderCase::Working, "", ""},
      {"installed, XDG_DATA_HOME set", "/usr/share/rq", "/x/", "/h", FolderCase::Installed, "/usr/share/rq", "/x/ravenquill"},
      {"installed, relative XDG_DATA_HOME ignored", "/usr/share/rq", "x", "/h", FolderCase::Installed, "/usr/share/rq", "/h/.local/share/ravenquill"},
      {"installed, XDG_DATA_HOME unset", "/usr/share/rq", nullptr, "/h", FolderCase::Installed, "/usr/share/rq", "/h/.local/share/ravenquill"},
      {"installed, but no HOME either", "/usr/share/rq", nullptr, nullptr, FolderCase::NoData, "", ""},
      {"no data anywhere", "/elsewhere", "/x", "/h", FolderCase::NoData, "", ""}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    dataAt = row.dataIn;
    const Folders f = ChooseFolders("/w", "/usr/share/rq", row.xdg, row.home, Probe);
    EXPECT_TRUE(f.use == row.use && f.dataDir == row.dataDir && f.filesDir == row.filesDir) << f.dataDir << " " << f.filesDir;
    EXPECT_EQ(f.problem.empty(), row.use != FolderCase::NoData);
    if (std::string(row.dataIn) == "/elsewhere")
      EXPECT_NE(f.problem.find("/w\nand in the installed data folder,\n  /usr/share/rq"), std::string::npos) << f.problem;
  }
}

}  // namespace
}  // namespace rq
