#include "game/pgn_export.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "rules/notation.h"
#include "rules/wxf.h"

namespace rq {
namespace {

constexpr size_t LineWidth = 79;

// The game from the opening position up to `data.moveCount`; false if a move will not play.
bool Replay(const GameFileData& data, GameRecord& record, std::string* moveText, bool wxf, bool& lastWasDraw) {
  record.newGame();
  lastWasDraw = false;
  std::string line;
  for (int i = 0; i < data.moveCount; ++i) {
    const HistoryEntry& e = data.history[i];
    const uint8_t code = record.position.squares[e.from];
    if (code == 0) return false;
    const int side = sideOfCode(code);
    Move move;
    move.from = e.from;
    move.to = e.to;
    int32_t reason = 0, detail = 0;
    lastWasDraw = !record.validateMove(move, reason, detail) && reason == ReasonRepetition;
    if (moveText) {
      std::string token;
      if (i % 2 == 0) token = std::to_string(i / 2 + 1) + ". ";
      token += wxf ? FormatWxfMove(record.position, e.from, e.to) : FormatMove(e.from, e.to);
      if (!line.empty() && line.size() + 1 + token.size() > LineWidth) {
        *moveText += line + "\n";
        line.clear();
      }
      line += (line.empty() ? "" : " ") + token;
    }
    record.makeMove(side, move);
    record.recordMove(move);
  }
  if (moveText) *moveText += line;
  return true;
}

// Whether the side has a move that is legal or ends the game drawn.
bool HasPermittedMove(GameRecord& record, int side) {
  for (int index = 1; index <= PiecesPerSide; ++index) {
    if (!record.onBoard(side, index)) continue;
    for (int family = 0; family < 2; ++family) {
      if (family == 0) record.generateCaptures(side, index, SlotHasMove);
      else record.generateQuietMoves(side, index, SlotHasMove);
      const MoveSlot& slot = record.moveSlots[SlotHasMove];
      for (int i = 0; i < slot.count(); ++i) {
        Move m = slot.cells[i];
        int32_t reason = 0, detail = 0;
        if (record.validateMove(m, reason, detail) || reason == ReasonRepetition) return true;
      }
    }
  }
  return false;
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

std::string ComputerNameFromFileName(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
  if (name.size() > 5 && name.compare(name.size() - 5, 5, ".vrd5") == 0) name.resize(name.size() - 5);
  if (name.rfind("CurrentGame_", 0) == 0) return name.substr(12);
  int first = 0, last = 0, used = 0;
  if (std::sscanf(name.c_str(), "Games%d-%d_%n", &first, &last, &used) == 2 && used > 0) return name.substr(used);
  return name;
}

std::string PgnDate(const std::string& savedAt) {
  int year = 0, month = 0, day = 0;
  if (!ParseSavedAtDate(savedAt, year, month, day) || day < 1 || day > 31 || year < 1 || year > 9999)
    return "????.??.??";
  char text[16];
  std::snprintf(text, sizeof text, "%04d.%02d.%02d", year, month, day);
  return text;
}

std::string GameResult(const GameFileData& data) {
  if (!data.gameEnded) return "*";
  auto record = std::make_unique<GameRecord>();
  bool draw = false;
  if (!Replay(data, *record, nullptr, false, draw)) return "*";
  // The history of a game beyond its 1000th move ends before the board does; the board says who is left.
  const BoardPosition& board = data.moveCount == HistoryCapacity ? data.board : record->position;
  bool general[2] = {false, false};
  for (uint8_t code : board.squares)
    if (code != 0 && (code & IndexMask) == GeneralIndex) general[sideOfCode(code)] = true;
  if (!general[Red]) return "0-1";
  if (!general[Green]) return "1-0";
  if (draw) return "1/2-1/2";
  // Otherwise the side to move had no permitted move left and has lost.
  const int toMove = data.moveCount % 2 == 0 ? Red : Green;
  if (data.moveCount < HistoryCapacity && !HasPermittedMove(*record, toMove)) return toMove == Red ? "0-1" : "1-0";
  return "*";
}

std::string FormatPgn(const GameFileData& data, const std::string& site, bool wxf) {
  const std::string result = GameResult(data);
  std::string pgn;
  auto tag = [&pgn](const char* name, const std::string& value) {
    std::string escaped;
    for (char c : value) {
      if (c == '"' || c == '\\') escaped += '\\';
      escaped += c;
    }
    pgn += std::string("[") + name + " \"" + escaped + "\"]\n";
  };
  tag("Event", "Ravenquill game");
  tag("Site", site);
  tag("Date", PgnDate(data.savedAt));
  tag("Round", std::to_string(data.gameNumber));
  tag("Red", "User");
  tag("Black", "Ravenquill");
  tag("Result", result);
  tag("Variant", "xiangqi");
  // Every stored game starts from the opening position, so no [FEN] is needed.
  pgn += "\n";
  auto record = std::make_unique<GameRecord>();
  std::string moves;
  bool draw = false;
  Replay(data, *record, &moves, wxf, draw);
  if (data.moveCount == HistoryCapacity && std::memcmp(record->position.squares, data.board.squares, BoardSquares) != 0)
    moves += std::string(moves.empty() ? "" : "\n") + "{the game went on past its 1000 recorded moves}";
  pgn += moves + (moves.empty() ? "" : " ") + result + "\n";
  return pgn;
}

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

}  // namespace rq
