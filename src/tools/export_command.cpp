// ravenquill-tool export: current-game and archive files as Xiangqi PGN on standard output.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "game/game_file.h"
#include "tools/commands.h"
#include "tools/pgn_export.h"

namespace rq {
namespace {

// The command line export takes.
int ExportUsage() {
  std::fprintf(stderr, "usage: ravenquill-tool export [--wxf] FILE...\n");
  return 2;
}

// Where the line after `offset` begins, counting the lines passed over.
size_t SkipLine(const std::string& text, size_t offset, int& line) {
  const size_t end = text.find('\n', offset);
  ++line;
  return end == std::string::npos ? text.size() : end + 1;
}

// The next line at or after `offset` that starts a record, or the end of the text.
size_t NextRecord(const std::string& text, size_t offset, int& line) {
  while (offset < text.size()) {
    if (text.compare(offset, std::strlen(GameFileMagic), GameFileMagic) == 0) return offset;
    offset = SkipLine(text, offset, line);
  }
  return offset;
}

// Whether nothing but blanks and line ends is left.
bool OnlyBlank(const std::string& text, size_t offset) {
  return text.find_first_not_of(" \t\r\n", offset) == std::string::npos;
}

}  // namespace

bool ExportText(const std::string& text, const std::string& path, bool wxf, std::string& pgn, std::string& errors,
                int& games) {
  const std::string site = ComputerNameFromFileName(path);
  auto data = std::make_unique<GameFileData>();
  bool sound = true;
  size_t offset = 0;
  int line = 1;  // the file's line at `offset`
  while (!OnlyBlank(text, offset)) {
    size_t consumed = 0;
    GameFileError error;
    *data = GameFileData();
    const bool parsed = ParseGameFile(text.data() + offset, text.size() - offset, consumed, *data, error);
    if (parsed && consumed == 0) error = {1, "empty record"};
    if (parsed && consumed > 0 && CheckGameFile(*data, error)) {
      if (games++) pgn += '\n';
      pgn += FormatPgn(*data, site, wxf);
      for (size_t i = offset; i < offset + consumed && i < text.size(); ++i) line += text[i] == '\n';
      offset += consumed;
      continue;
    }
    sound = false;
    errors += path + ":" + std::to_string(line + (error.line > 0 ? error.line - 1 : 0)) + ": " + error.message +
              "; game skipped\n";
    // A damaged record's length cannot be trusted: go on at the next record's first line.
    offset = NextRecord(text, SkipLine(text, offset, line), line);
  }
  return sound;
}

namespace {

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
