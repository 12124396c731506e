// ravenquill-tool export: current-game and archive files as Xiangqi PGN on standard output.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "game/pgn_export.h"
#include "tools/commands.h"

namespace rq {
namespace {

// The command line export takes.
int ExportUsage() {
  std::fprintf(stderr, "usage: ravenquill-tool export [--wxf] FILE...\n");
  return 2;
}

// Exports every record of one file; false when the file or any record is damaged.
bool ExportFile(const std::string& path, bool wxf, int& games) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot be read\n", path.c_str());
    return false;
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string pgn, errors;
  const bool sound = ExportText(buffer.str(), path, wxf, pgn, errors, games);
  std::fwrite(pgn.data(), 1, pgn.size(), stdout);
  std::fflush(stdout);
  std::fputs(errors.c_str(), stderr);
  return sound;
}

}  // namespace

int ExportCommand(int argc, char** argv) {
  bool wxf = false;
  int first = 0;
  if (argc > 0 && std::strcmp(argv[0], "--wxf") == 0) {
    wxf = true;
    first = 1;
  }
  if (first >= argc) return ExportUsage();
  bool sound = true;
  int games = 0;
  for (int i = first; i < argc; ++i) sound = ExportFile(argv[i], wxf, games) && sound;
  std::fflush(stdout);
  return sound ? 0 : 1;
}

}  // namespace rq
