#include "game/pgn_export.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "rules/notation.h"
#include "rules/wxf.h"

namespace rq {
namespace {

constexpr size_t LineWidth = 79;

const char* const SideName[2] = {"Red", "Green"};

// The sentence's words, one by one.
void AddWords(std::vector<std::string>& words, const std::string& sentence) {
  size_t at = 0;
  while (at < sentence.size()) {
    const size_t end = std::min(sentence.find(' ', at), sentence.size());
    if (end > at) words.push_back(sentence.substr(at, end - at));
    at = end + 1;
  }
}

// The words in lines of at most LineWidth characters, but for a longer word.
std::string Folded(const std::vector<std::string>& words) {
  std::string text, line;
  for (const std::string& word : words) {
    if (!line.empty() && line.size() + 1 + word.size() > LineWidth) {
      text += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  return text + line;
}

// What replaying a stored game found out.
struct Replayed {
  bool lastWasDraw = false;
  // The first move the common rules refuse, one that leaves the mover's general attacked
  // (moveCount when there is none), and whether its side had only such moves.
  int refused = -1;
  bool onlyMovesIntoCheck = false;
  bool tookGeneral = false;  // the last move took a general
};

// Whether `side` has a move that `fits`; every generated move is tried on the board.
bool HasMove(GameRecord& record, int side, bool (*fits)(GameRecord&, int, Move&)) {
  return record.forEachMove(side, [&](Move& m) { return fits(record, side, m); });
}

// A move the common rules allow: the mover's general is not left attacked, the generals do not face.
bool KeepsGeneralSafe(GameRecord& record, int side, Move& m) {
  record.makeMove(side, m);
  const bool safe = !record.generalsFacing() && !record.isGeneralAttackedFast(side);
  record.unmakeMove(side, m);
  return safe;
}

// One played move: its side and its text in coordinates or WXF.
struct PlyText {
  int side;
  std::string text;
};

// The game from the opening position up to `data.moveCount`; false if a move will not play.
// With `moves`, each move's text in coordinates or WXF.
bool Replay(const GameFileData& data, GameRecord& record, Replayed& out, std::vector<PlyText>* moves, bool wxf) {
  int firstSide = Red;
  PositionFault startFault;
  if (data.startFen.empty()) record.newGame();
  else if (!LoadFen(record, data.startFen, firstSide, startFault)) return false;
  out = Replayed{};
  out.refused = data.moveCount;
  for (int i = 0; i < data.moveCount; ++i) {
    const HistoryEntry& e = data.history[i];
    const uint8_t code = record.position.squares[e.from];
    if (code == 0) return false;
    const int side = sideOfCode(code);
    Move move;
    move.from = e.from;
    move.to = e.to;
    int32_t reason = 0, detail = 0;
    out.lastWasDraw = !record.validateMove(move, reason, detail) && reason == ReasonRepetition;
    if (moves) moves->push_back({side, wxf ? FormatWxfMove(record.position, e.from, e.to) : FormatMove(e.from, e.to)});
    if (out.refused == data.moveCount && !KeepsGeneralSafe(record, side, move)) {
      out.refused = i;
      out.onlyMovesIntoCheck = !HasMove(record, side, KeepsGeneralSafe);
    }
    out.tookGeneral = record.makeMove(side, move);
    record.recordMove(move);
  }
  return true;
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
  if (data.resignedSide != NoSide) return data.resignedSide == Red ? "0-1" : "1-0";
  auto record = std::make_unique<GameRecord>();
  Replayed replayed;
  if (!Replay(data, *record, replayed, nullptr, false)) return "*";
  // The history of a game beyond its 1000th move ends before the board does; the board says who is left.
  const BoardPosition& board = data.moveCount == HistoryCapacity ? data.board : record->position;
  bool general[2] = {false, false};
  for (uint8_t code : board.squares)
    if (code != 0 && (code & IndexMask) == GeneralIndex) general[sideOfCode(code)] = true;
  if (!general[Red]) return "0-1";
  if (!general[Green]) return "1-0";
  if (replayed.lastWasDraw) return "1/2-1/2";
  // Otherwise the side to move had no permitted move left and has lost.
  const int toMove = (data.moveCount + record->startSide) % 2 == 0 ? Red : Green;
  if (data.moveCount < HistoryCapacity && !record->hasPermittedMove(toMove)) return toMove == Red ? "0-1" : "1-0";
  return "*";
}

PgnPlayers GamePlayers(const GameFileData& data) {
  if (data.playerSide == Green) return PgnPlayers{"Ravenquill", "User"};
  return PgnPlayers{"User", "Ravenquill"};
}

std::string PgnTags(const GameFileData& data, const std::string& site, const std::string& result, bool wxf) {
  std::string tags;
  auto tag = [&tags](const char* name, const std::string& value) {
    std::string escaped;
    for (char c : value) {
      if (c == '"' || c == '\\') escaped += '\\';
      escaped += c;
    }
    tags += std::string("[") + name + " \"" + escaped + "\"]\n";
  };
  const PgnPlayers players = GamePlayers(data);
  // The Chinese convention's [Game] comes first; XBoard names the players from [White] and
  // [Black], the convention from [Red] and [Black]; both read [Variant].
  tag("Game", "Chinese Chess");
  tag("Event", "Ravenquill game");
  tag("Site", site);
  tag("Date", PgnDate(data.savedAt));
  tag("Round", std::to_string(data.gameNumber));
  tag("White", players.red);
  tag("Black", players.black);
  tag("Result", result);
  tag("Red", players.red);
  tag("Variant", "xiangqi");
  tag("Format", wxf ? "WXF" : "ICCS");
  // A game from the opening needs no [FEN]; XBoard reads one only after [SetUp "1"].
  if (!data.startFen.empty()) {
    tag("SetUp", "1");
    tag("FEN", data.startFen);
  }
  return tags;
}

std::string FormatPgn(const GameFileData& data, const std::string& site, bool wxf) {
  const std::string result = GameResult(data);
  auto record = std::make_unique<GameRecord>();
  Replayed replayed;
  std::vector<PlyText> moves;
  Replay(data, *record, replayed, &moves, wxf);
  const int shown = static_cast<int>(moves.size()) < replayed.refused ? static_cast<int>(moves.size()) : replayed.refused;
  std::vector<std::string> words;
  // Red's moves carry the move number, and so does green's where it opens the comment.
  // A game set up with green to move counts its first move as move 1's second half.
  const int shift = record->startSide == Green ? 1 : 0;
  auto addMove = [&](int ply, bool opensComment) {
    const std::string number = std::to_string((ply + shift) / 2 + 1);
    if (moves[ply].side == Red) words.push_back(number + ". " + moves[ply].text);
    else words.push_back((opensComment || ply == 0 ? number + "... " : "") + moves[ply].text);
  };
  for (int ply = 0; ply < shown; ++ply) addMove(ply, false);
  if (shown < static_cast<int>(moves.size())) {
    // The common rules end the game where the loser had only moves into check, and refuse a
    // move into check: the rest of the game, by this game's rules, goes into a comment.
    const std::string opening = std::string("{") + SideName[moves[shown].side] +
                                (replayed.onlyMovesIntoCheck ? " had only moves into check, and in Ravenquill must still move:"
                                                             : " moved into check, which Ravenquill allows:");
    AddWords(words, opening);
    for (int ply = shown; ply < static_cast<int>(moves.size()); ++ply) addMove(ply, ply == shown);
    if (replayed.tookGeneral) AddWords(words, "takes the general");
    words.back() += "}";
  }
  if (data.moveCount == HistoryCapacity && std::memcmp(record->position.squares, data.board.squares, BoardSquares) != 0)
    AddWords(words, "{the game went on past its 1000 recorded moves}");
  if (data.gameEnded && data.resignedSide != NoSide)
    AddWords(words, std::string("{") + SideName[data.resignedSide] + " resigned}");
  words.push_back(result);
  return PgnTags(data, site, result, wxf) + "\n" + Folded(words) + "\n";
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
    if (parsed && consumed == 0) error = {1, fault::EmptyRecord};
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
